#include "kiln/base/StringIFlow.h"

#include "kiln/base/Exception.h"

#include <cstring>

namespace KILN {

namespace {
constexpr const char* Module = "kiln/base/StringIFlow";
}

template <class T>
void StringIFlow<T>::open(const T* units, uint32_t length)
{
    m_units = units;
    m_length = units ? length : 0;
    m_position = 0;
    m_open = units != nullptr;
    m_fresh = true;
}

template <class T>
bool StringIFlow<T>::close()
{
    if (!IFlow::close())
        return false;
    m_units = nullptr;
    m_length = m_position = 0;
    return true;
}

template <class T>
bool StringIFlow<T>::reset()
{
    if (!IFlow::reset())
        return false;
    m_position = 0;
    return true;
}

// The next unit, as U when U is T; other widths are not carried.
template <class T>
template <class U>
U StringIFlow<T>::next()
{
    if constexpr (sizeof(U) != sizeof(T)) {
        throw IOException(Module, __LINE__, IOException::WidthNotCarried);
    } else {
        if (!m_open)
            throw IOException(Module, __LINE__, IOException::NotOpen);
        if (m_position >= m_length)
            throw IOException(Module, __LINE__, IOException::EndOfInput);
        return static_cast<U>(m_units[m_position++]);
    }
}

// Copies what is left up to count units; a short block raises code 1 when
// raiseAtEnd.
template <class T>
template <class U>
void StringIFlow<T>::nextBlock(uint32_t count, U* dest, uint32_t& got, bool raiseAtEnd)
{
    got = 0;
    if constexpr (sizeof(U) != sizeof(T)) {
        throw IOException(Module, __LINE__, IOException::WidthNotCarried);
    } else {
        if (!m_open)
            throw IOException(Module, __LINE__, IOException::NotOpen);
        got = count < remaining() ? count : remaining();
        std::memcpy(dest, m_units + m_position, got * sizeof(T));
        m_position += got;
        if (got < count && raiseAtEnd)
            throw IOException(Module, __LINE__, IOException::EndOfInput);
    }
}

template <class T>
uint8_t StringIFlow<T>::read8() { return next<uint8_t>(); }
template <class T>
uint16_t StringIFlow<T>::read16() { return next<uint16_t>(); }
template <class T>
uint32_t StringIFlow<T>::read32() { return next<uint32_t>(); }

template <class T>
void StringIFlow<T>::readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
template <class T>
void StringIFlow<T>::readSome8(uint32_t count, uint8_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }
template <class T>
void StringIFlow<T>::readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
template <class T>
void StringIFlow<T>::readSome16(uint32_t count, uint16_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }
template <class T>
void StringIFlow<T>::readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
template <class T>
void StringIFlow<T>::readSome32(uint32_t count, uint32_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }

template class StringIFlow<char>;
template class StringIFlow<unsigned short>;
template class StringIFlow<unsigned int>;

} // namespace KILN
