#pragma once

#include "kiln/base/IFilter.h"

namespace KILN {

// An input filter that answers units of type T only; reads of the other
// widths raise code 5. Unless a subclass transforms, units of T pass through.
template <class T>
class TIFilter : public IFilter {
public:
    explicit TIFilter(uint32_t inputWidths = AllWidths) : IFilter(widthOf<T>(), inputWidths) {}

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;

private:
    template <class U>
    U unit();
};

extern template class TIFilter<char>;
extern template class TIFilter<unsigned short>;
extern template class TIFilter<unsigned int>;

} // namespace KILN
