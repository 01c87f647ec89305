#include "kiln/base/Utf16ToUtf8OFlow.h"

#include "kiln/base/Exception.h"
#include "kiln/base/Utf.h"
#include "kiln/base/Utf8BlockEncoding.h"

namespace KILN {

namespace {

constexpr const char* Module = "kiln/base/Utf16ToUtf8OFlow";

// Bytes buffered before a write to the target: large enough that a file
// takes few writes, small enough to be no concern next to the document.
constexpr uint32_t Capacity = 64 * 1024;

// The most bytes one unit can take (a pair takes four for two units).
constexpr uint32_t MaxBytesPerUnit = 3;

} // namespace

Utf16ToUtf8OFlow::Utf16ToUtf8OFlow(OFlow& target, bool byteOrderMark)
    : OFlow(Width16, true), m_target(target), m_buffer(new uint8_t[Capacity])
{
    if (byteOrderMark) {
        static const uint8_t mark[] = {0xEF, 0xBB, 0xBF};
        for (uint8_t byte : mark)
            m_buffer[m_used++] = byte;
    }
}

Utf16ToUtf8OFlow::~Utf16ToUtf8OFlow() = default;

void Utf16ToUtf8OFlow::drain()
{
    if (m_used == 0)
        return;
    uint32_t written = 0;
    try {
        m_target.writeBlock8(m_used, m_buffer.get(), written);
    } catch (const IOException&) {
        m_open = false;
        throw;
    }
    m_used = 0;
}

void Utf16ToUtf8OFlow::flush()
{
    if (!m_open)
        throw IOException(Module, __LINE__, IOException::NotOpen);
    drain();
    try {
        m_target.flush();
    } catch (const IOException&) {
        m_open = false;
        throw;
    }
}

bool Utf16ToUtf8OFlow::close()
{
    if (!m_open)
        return false;
    if (m_held != 0)
        releaseHeld(nullptr);
    flush();
    return OFlow::close();
}

void Utf16ToUtf8OFlow::releaseHeld(const uint16_t* next)
{
    const bool paired = next && utf::isLowSurrogate(*next);
    const uint32_t c = paired ? utf::joinSurrogates(m_held, *next) : utf::Replacement;
    m_held = 0;
    if (Capacity - m_used < 4)
        drain();
    m_used += static_cast<uint32_t>(utf::encodeUtf8(c, m_buffer.get() + m_used));
}

void Utf16ToUtf8OFlow::write8(uint8_t)
{
    throw IOException(Module, __LINE__, IOException::WidthNotCarried);
}

void Utf16ToUtf8OFlow::write32(uint32_t)
{
    throw IOException(Module, __LINE__, IOException::WidthNotCarried);
}

void Utf16ToUtf8OFlow::write16(uint16_t unit)
{
    // The markup's single characters are ASCII: straight into the buffer.
    if (unit < 0x80 && m_held == 0 && m_used < Capacity && m_open) {
        m_buffer[m_used++] = static_cast<uint8_t>(unit);
        m_fresh = false;
        return;
    }
    uint32_t written;
    writeBlock16(1, &unit, written);
}

void Utf16ToUtf8OFlow::writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written)
{
    written = 0;
    if (!m_open)
        throw IOException(Module, __LINE__, IOException::NotOpen);
    if (count == 0)
        return;
    m_fresh = false;
    const uint16_t* p = src;
    const uint16_t* const end = src + count;
    if (m_held != 0) {
        releaseHeld(p);
        if (utf::isLowSurrogate(*p))
            ++p;
    }
    while (p != end) {
        const uint32_t room = (Capacity - m_used) / MaxBytesPerUnit;
        if (room < 2) {
            written = static_cast<uint32_t>(p - src);
            drain();
            continue;
        }
        const uint32_t left = static_cast<uint32_t>(end - p);
        const uint32_t piece = left < room ? left : room;
        uint32_t used = 0;
        m_used += encodeUtf8Block(p, piece, m_buffer.get() + m_used, used);
        p += used;
        // A high surrogate left over waits for the next write when it ends
        // the units; inside them it begins the next piece with its low half.
        if (used < piece && p + 1 == end)
            m_held = *p++;
    }
    written = count;
}

} // namespace KILN
