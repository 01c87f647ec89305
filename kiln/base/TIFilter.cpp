#include "kiln/base/TIFilter.h"

#include "kiln/base/Exception.h"

namespace KILN {

template <class T>
template <class U>
U TIFilter<T>::unit()
{
    if constexpr (sizeof(U) != sizeof(T))
        throw IOException("kiln/base/TIFilter", __LINE__, IOException::WidthNotCarried);
    else
        return this->template passUnit<U>();
}

template <class T>
uint8_t TIFilter<T>::read8() { return unit<uint8_t>(); }
template <class T>
uint16_t TIFilter<T>::read16() { return unit<uint16_t>(); }
template <class T>
uint32_t TIFilter<T>::read32() { return unit<uint32_t>(); }

template class TIFilter<char>;
template class TIFilter<unsigned short>;
template class TIFilter<unsigned int>;

} // namespace KILN
