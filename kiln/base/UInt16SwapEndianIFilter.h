#pragma once

#include "kiln/base/IFilter.h"

namespace KILN {

// An input filter that reverses the bytes of every 16-bit unit of its source.
class UInt16SwapEndianIFilter : public IFilter {
public:
    UInt16SwapEndianIFilter() : IFilter(Width16, Width16) {}

    uint16_t read16() override;
    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override;
};

} // namespace KILN
