#pragma once

#include "kiln/base/Detector.h"

namespace KILN {

// Finds the encoding that an HTML document declares in a META element of its
// head (http-equiv Content-Type, content "text/html; charset=NAME"); answers
// 0 when there is none or the name is unknown. The last such META wins.
class HtmlDetector : public Detector {
public:
    int32_t detect(IFlow& source) override;
    void reset() override {}

    // The same over a zero-terminated byte text.
    static int32_t scan(const char* text);
};

} // namespace KILN
