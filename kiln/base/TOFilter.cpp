#include "kiln/base/TOFilter.h"

#include "kiln/base/Exception.h"

namespace KILN {

template <class T>
template <class U>
void TOFilter<T>::put(U unit)
{
    if constexpr (sizeof(U) != sizeof(T))
        throw IOException("kiln/base/TOFilter", __LINE__, IOException::WidthNotCarried);
    else
        this->passUnit(unit);
}

template <class T>
void TOFilter<T>::write8(uint8_t unit) { put(unit); }
template <class T>
void TOFilter<T>::write16(uint16_t unit) { put(unit); }
template <class T>
void TOFilter<T>::write32(uint32_t unit) { put(unit); }

template class TOFilter<char>;
template class TOFilter<unsigned short>;
template class TOFilter<unsigned int>;

} // namespace KILN
