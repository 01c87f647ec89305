#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: UCS-4 to UTF-16 in machine order. Values above U+FFFF become
// surrogate pairs; values above U+10FFFF are skipped.
class FromUcs4ToUtf16N : public Converter<FromUcs4ToUtf16N, unsigned short, uint32_t> {
    friend Converter;

    unsigned short convert();
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromUcs4ToUtf16N, unsigned short, uint32_t>;

} // namespace KILN
