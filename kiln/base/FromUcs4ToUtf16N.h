#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: UCS-4 to UTF-16 in machine order. Values above U+FFFF become
// surrogate pairs; values above U+10FFFF are skipped.
class FromUcs4ToUtf16N : public Converter<FromUcs4ToUtf16N, unsigned short, uint32_t> {
    friend Converter;

    unsigned short convert();
};

} // namespace KILN
