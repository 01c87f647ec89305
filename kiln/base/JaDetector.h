#pragma once

#include "kiln/base/Detector.h"

namespace KILN {

// Tells Japanese text apart: a Unicode byte-order mark, ISO-2022-JP, EUC-JP,
// Shift_JIS or UTF-8. Pure ASCII and undecidable text answer 0.
class JaDetector : public Detector {
public:
    int32_t detect(IFlow& source) override;
    void reset() override {}
};

} // namespace KILN
