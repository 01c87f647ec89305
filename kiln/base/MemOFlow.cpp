#include "kiln/base/MemOFlow.h"

#include "kiln/base/Exception.h"
#include "kiln/base/LittleEndian.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace KILN {

namespace {
constexpr const char* Module = "kiln/base/MemOFlow";
}

MemOFlow::MemOFlow()
    : OFlow(AllWidths, true), m_buffer(static_cast<uint8_t*>(std::malloc(InitialCapacity))), m_capacity(InitialCapacity),
      m_lent(false)
{
    if (!m_buffer)
        throw std::bad_alloc();
}

MemOFlow::MemOFlow(uint8_t* lentBuffer, uint32_t capacity)
    : OFlow(AllWidths, lentBuffer != nullptr), m_buffer(lentBuffer), m_capacity(lentBuffer ? capacity : 0),
      m_lent(lentBuffer != nullptr)
{
}

MemOFlow::~MemOFlow()
{
    if (!m_lent)
        std::free(m_buffer);
}

bool MemOFlow::close()
{
    if (!OFlow::close())
        return false;
    if (!m_lent)
        std::free(m_buffer);
    m_buffer = nullptr;
    m_capacity = m_length = 0;
    m_lent = false;
    return true;
}

bool MemOFlow::reset()
{
    if (!OFlow::reset())
        return false;
    m_length = 0;
    return true;
}

uint8_t* MemOFlow::reserve(uint32_t bytes)
{
    if (!m_open)
        throw IOException(Module, __LINE__, IOException::NotOpen);
    if (bytes > std::numeric_limits<uint32_t>::max() - m_length)
        throw std::bad_alloc();
    const uint32_t needed = m_length + bytes;
    if (needed > m_capacity) {
        // Growing by half the capacity keeps writing a large text linear.
        const uint32_t spare = m_capacity / 2 < std::numeric_limits<uint32_t>::max() - m_capacity
            ? m_capacity + m_capacity / 2 : std::numeric_limits<uint32_t>::max();
        const uint32_t size = needed > spare ? needed : spare;
        uint8_t* grown;
        if (m_lent) {
            grown = static_cast<uint8_t*>(std::malloc(size));
            if (grown)
                std::memcpy(grown, m_buffer, m_length);
        } else {
            grown = static_cast<uint8_t*>(std::realloc(m_buffer, size));
        }
        if (!grown)
            throw std::bad_alloc();
        m_buffer = grown;
        m_capacity = size;
        m_lent = false;
    }
    m_fresh = false;
    uint8_t* at = m_buffer + m_length;
    m_length = needed;
    return at;
}

template <class U>
void MemOFlow::put(U unit)
{
    storeLittleEndian(unit, reserve(sizeof(U)));
}

template <class U>
void MemOFlow::putBlock(uint32_t count, const U* src, uint32_t& written)
{
    written = 0;
    if (count > std::numeric_limits<uint32_t>::max() / sizeof(U))
        throw std::bad_alloc();
    uint8_t* at = reserve(count * static_cast<uint32_t>(sizeof(U)));
    for (uint32_t i = 0; i < count; ++i, at += sizeof(U))
        storeLittleEndian(src[i], at);
    written = count;
}

void MemOFlow::write8(uint8_t unit) { put(unit); }
void MemOFlow::write16(uint16_t unit) { put(unit); }
void MemOFlow::write32(uint32_t unit) { put(unit); }

void MemOFlow::writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) { putBlock(count, src, written); }
void MemOFlow::writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) { putBlock(count, src, written); }
void MemOFlow::writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) { putBlock(count, src, written); }

} // namespace KILN
