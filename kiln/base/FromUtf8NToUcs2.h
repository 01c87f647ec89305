#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: UTF-8 to UCS-2. A four-byte sequence (a character beyond the
// Basic Multilingual Plane) is consumed whole and skipped; U+FEFF is kept.
class FromUtf8NToUcs2 final : public Converter<FromUtf8NToUcs2, unsigned short, uint8_t> {
    friend Converter;

    unsigned short convert();
};

} // namespace KILN
