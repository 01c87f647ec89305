#include "kiln/base/FixedMemIFlow.h"

#include "kiln/base/Exception.h"
#include "kiln/base/LittleEndian.h"

namespace KILN {

namespace {
constexpr const char* Module = "kiln/base/FixedMemIFlow";
}

FixedMemIFlow::FixedMemIFlow(const uint8_t* start, uint32_t length)
    : IFlow(AllWidths, start != nullptr), m_start(start), m_end(start ? start + length : nullptr), m_position(start)
{
}

bool FixedMemIFlow::close()
{
    if (!IFlow::close())
        return false;
    m_start = m_end = m_position = nullptr;
    return true;
}

bool FixedMemIFlow::reset()
{
    if (!IFlow::reset())
        return false;
    m_position = m_start;
    return true;
}

template <class U>
U FixedMemIFlow::next()
{
    if (!m_open)
        throw IOException(Module, __LINE__, IOException::NotOpen);
    if (remaining() < sizeof(U))
        throw IOException(Module, __LINE__, IOException::EndOfInput);
    m_fresh = false;
    const U unit = loadLittleEndian<U>(m_position);
    m_position += sizeof(U);
    return unit;
}

// Takes as many whole units as are left, up to count; a short block raises
// code 1 when raiseAtEnd.
template <class U>
void FixedMemIFlow::nextBlock(uint32_t count, U* dest, uint32_t& got, bool raiseAtEnd)
{
    got = 0;
    if (!m_open)
        throw IOException(Module, __LINE__, IOException::NotOpen);
    const uint32_t whole = remaining() / sizeof(U);
    const uint32_t n = count < whole ? count : whole;
    loadLittleEndian(m_position, dest, n);
    m_position += size_t{n} * sizeof(U);
    got = n;
    if (n)
        m_fresh = false;
    if (n < count && raiseAtEnd)
        throw IOException(Module, __LINE__, IOException::EndOfInput);
}

uint8_t FixedMemIFlow::read8() { return next<uint8_t>(); }
uint16_t FixedMemIFlow::read16() { return next<uint16_t>(); }
uint32_t FixedMemIFlow::read32() { return next<uint32_t>(); }

void FixedMemIFlow::readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
void FixedMemIFlow::readSome8(uint32_t count, uint8_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }
void FixedMemIFlow::readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
void FixedMemIFlow::readSome16(uint32_t count, uint16_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }
void FixedMemIFlow::readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
void FixedMemIFlow::readSome32(uint32_t count, uint32_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }

} // namespace KILN
