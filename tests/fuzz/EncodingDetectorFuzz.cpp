// libFuzzer target of the encoding detectors: any bytes end in an encoding
// identifier that names a chain (or 0), never in a crash, a hang or undefined
// behaviour; a second detection after reset answers the same.
//
// Input layout: the first byte selects the detector (Japanese, XML, HTML);
// the rest is the text.

#include "kiln/base/Detector.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/FixedMemIFlow.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace KILN;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = EncodingRegistry::lifeCycle(true);
    (void)started;
    if (size < 1)
        return 0;
    const std::unique_ptr<Detector> detector(Detector::create(EncodingRegistry::JaDetector + data[0] % 3));
    FixedMemIFlow input(data + 1, static_cast<uint32_t>(size - 1));
    const int32_t found = detector->detect(input);
    if (found < 0 || found > 39)
        std::abort();
    detector->reset();
    input.reset();
    if (detector->detect(input) != found)
        std::abort();
    return 0;
}
