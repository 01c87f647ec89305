#include "kiln/base/PushbackIFilter.h"

#include "kiln/base/Exception.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace KILN {

namespace {
constexpr const char* Module = "kiln/base/PushbackIFilter";
}

template <class T>
PushbackIFilter<T>::PushbackIFilter(uint32_t inputWidths)
    : TIFilter<T>(inputWidths), m_pushback(static_cast<T*>(std::malloc(InitialPushbackCapacity * sizeof(T))))
{
    if (!m_pushback)
        throw std::bad_alloc();
}

template <class T>
PushbackIFilter<T>::~PushbackIFilter()
{
    std::free(m_pushback);
}

template <class T>
void PushbackIFilter<T>::attach(IFlow* source)
{
    m_pushbackCount = 0;
    TIFilter<T>::attach(source);
}

template <class T>
bool PushbackIFilter<T>::reset()
{
    m_pushbackCount = 0;
    return TIFilter<T>::reset();
}

template <class T>
void PushbackIFilter<T>::growPushback()
{
    if (m_pushbackCapacity > std::numeric_limits<uint32_t>::max() / 2 / sizeof(T))
        throw std::bad_alloc();
    T* grown = static_cast<T*>(std::realloc(m_pushback, 2 * m_pushbackCapacity * sizeof(T)));
    if (!grown)
        throw std::bad_alloc();
    m_pushback = grown;
    m_pushbackCapacity *= 2;
}

template <class T>
template <class U>
U PushbackIFilter<T>::unit()
{
    if constexpr (sizeof(U) != sizeof(T)) {
        throw IOException(Module, __LINE__, IOException::WidthNotCarried);
    } else {
        this->m_fresh = false;
        if (m_pushbackCount)
            return static_cast<U>(m_pushback[--m_pushbackCount]);
        if (!this->m_source)
            throw IOException(Module, __LINE__, IOException::NoSource);
        return this->m_source->template readUnit<U>();
    }
}

template <class T>
uint8_t PushbackIFilter<T>::read8() { return unit<uint8_t>(); }
template <class T>
uint16_t PushbackIFilter<T>::read16() { return unit<uint16_t>(); }
template <class T>
uint32_t PushbackIFilter<T>::read32() { return unit<uint32_t>(); }

template class PushbackIFilter<char>;
template class PushbackIFilter<unsigned short>;
template class PushbackIFilter<unsigned int>;

} // namespace KILN
