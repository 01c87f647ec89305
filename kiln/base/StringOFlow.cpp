#include "kiln/base/StringOFlow.h"

#include "kiln/base/Exception.h"

namespace KILN {

namespace {
constexpr const char* Module = "kiln/base/StringOFlow";
}

template <class T>
void StringOFlow<T>::open(TString<T>* target)
{
    m_target = target;
    m_open = target != nullptr;
    m_fresh = true;
}

template <class T>
bool StringOFlow<T>::close()
{
    if (!OFlow::close())
        return false;
    m_target = nullptr;
    return true;
}

template <class T>
bool StringOFlow<T>::reset()
{
    if (!OFlow::reset())
        return false;
    m_target->clear();
    return true;
}

template <class T>
template <class U>
void StringOFlow<T>::putBlock(uint32_t count, const U* src, uint32_t& written)
{
    written = 0;
    if constexpr (sizeof(U) != sizeof(T)) {
        throw IOException(Module, __LINE__, IOException::WidthNotCarried);
    } else {
        if (!m_open)
            throw IOException(Module, __LINE__, IOException::NotOpen);
        m_fresh = false;
        m_target->append(reinterpret_cast<const T*>(src), count);
        written = count;
    }
}

template <class T>
template <class U>
void StringOFlow<T>::put(U unit)
{
    uint32_t written;
    putBlock(1, &unit, written);
}

template <class T>
void StringOFlow<T>::write8(uint8_t unit) { put(unit); }
template <class T>
void StringOFlow<T>::write16(uint16_t unit) { put(unit); }
template <class T>
void StringOFlow<T>::write32(uint32_t unit) { put(unit); }

template <class T>
void StringOFlow<T>::writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) { putBlock(count, src, written); }
template <class T>
void StringOFlow<T>::writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) { putBlock(count, src, written); }
template <class T>
void StringOFlow<T>::writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) { putBlock(count, src, written); }

template class StringOFlow<char>;
template class StringOFlow<unsigned short>;
template class StringOFlow<unsigned int>;

} // namespace KILN
