#pragma once

#include "kiln/base/OFilter.h"

namespace KILN {

// An output filter that accepts units of type T only; writes of the other
// widths raise code 5. Unless a subclass transforms, units of T pass through.
template <class T>
class TOFilter : public OFilter {
public:
    TOFilter() : OFilter(widthOf<T>(), widthOf<T>()) {}

    void write8(uint8_t unit) override;
    void write16(uint16_t unit) override;
    void write32(uint32_t unit) override;

private:
    template <class U>
    void put(U unit);
};

extern template class TOFilter<char>;
extern template class TOFilter<unsigned short>;
extern template class TOFilter<unsigned int>;

} // namespace KILN
