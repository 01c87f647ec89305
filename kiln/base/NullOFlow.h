#pragma once

#include "kiln/base/OFlow.h"

namespace KILN {

// An output flow that accepts units of every width and discards them.
class NullOFlow : public OFlow {
public:
    NullOFlow() : OFlow(AllWidths, true) {}

    void write8(uint8_t) override {}
    void write16(uint16_t) override {}
    void write32(uint32_t) override {}
    void writeBlock8(uint32_t count, const uint8_t*, uint32_t& written) override { written = count; }
    void writeBlock16(uint32_t count, const uint16_t*, uint32_t& written) override { written = count; }
    void writeBlock32(uint32_t count, const uint32_t*, uint32_t& written) override { written = count; }
};

} // namespace KILN
