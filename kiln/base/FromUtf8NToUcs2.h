#pragma once

#include "kiln/base/Converter.h"
#include "kiln/base/Utf8Decoding.h"

namespace KILN {

// Converter: UTF-8 to UCS-2. A four-byte sequence (a character beyond the
// Basic Multilingual Plane) is consumed whole and skipped; U+FEFF is kept; a
// sequence that is not well-formed (cut short, overlong, a surrogate, beyond
// U+10FFFF) answers U+FFFD.
class FromUtf8NToUcs2 final : public Converter<FromUtf8NToUcs2, unsigned short, uint8_t> {
    friend Converter;

    unsigned short convert();
    // ASCII and well-formed sequences in one loop; the rest goes to convert().
    void convertRun(const uint8_t*& next, const uint8_t* end, unsigned short*& dest, unsigned short* destEnd);

    Utf8Decoder m_decoder;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromUtf8NToUcs2, unsigned short, uint8_t>;

} // namespace KILN
