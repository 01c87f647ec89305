#include "kiln/base/Conveyer.h"

#include "kiln/base/Exception.h"

namespace KILN {

namespace {

constexpr const char* Module = "kiln/base/Conveyer";

// Units moved per block: the input's block read fills the buffer and the
// output takes it in one write, which saves a virtual call per unit on the
// output side and lets growing outputs grow once per block.
constexpr uint32_t BlockUnits = 4096;

void checkFlows(IFlow* input, OFlow* output)
{
    if (!input)
        throw IOException(Module, __LINE__, IOException::NoSource);
    if (!output)
        throw IOException(Module, __LINE__, IOException::NoTarget);
}

template <class U>
void pump(IFlow& input, OFlow& output)
{
    U block[BlockUnits];
    for (;;) {
        uint32_t got = 0;
        try {
            input.readSome(BlockUnits, block, got);
        } catch (const IOException&) {
            // What arrived before the failure is delivered in any case.
            uint32_t written = 0;
            output.writeBlock(got, block, written);
            throw;
        }
        uint32_t written = 0;
        output.writeBlock(got, block, written);
        if (got < BlockUnits) {
            output.flush();
            return;
        }
    }
}

} // namespace

void convey(IFlow* input, OFlow* output)
{
    checkFlows(input, output);
    const uint32_t common = input->widths() & output->widths();
    if (common & Flow::Width8)
        pump<uint8_t>(*input, *output);
    else if (common & Flow::Width16)
        pump<uint16_t>(*input, *output);
    else if (common & Flow::Width32)
        pump<uint32_t>(*input, *output);
    else
        throw IOException(Module, __LINE__, IOException::NoCommonWidth);
}

void conveyBytes(IFlow* input, OFlow* output)
{
    checkFlows(input, output);
    if (!(input->widths() & output->widths() & Flow::Width8))
        throw IOException(Module, __LINE__, IOException::NoCommonWidth);
    pump<uint8_t>(*input, *output);
}

} // namespace KILN
