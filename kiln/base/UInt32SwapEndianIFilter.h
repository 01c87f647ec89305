#pragma once

#include "kiln/base/IFilter.h"

namespace KILN {

// An input filter that reverses the bytes of every 32-bit unit of its source.
class UInt32SwapEndianIFilter : public IFilter {
public:
    UInt32SwapEndianIFilter() : IFilter(Width32, Width32) {}

    uint32_t read32() override;
    void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) override;
};

} // namespace KILN
