#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: UCS-2 to UTF-7. Letters, digits, ' ( ) , - . / : ? and space,
// tab, CR, LF are written directly, "+" as "+-", everything else in
// modified base64 after "+"; a base64 run is always closed by "-", also at
// the end of input.
class FromUcs2ToUtf7 final : public Converter<FromUcs2ToUtf7, char, uint16_t> {
    friend Converter;

    char convert();
    // Writes the bits left in the base64 run, padded with zeros, and "-"
    // into out; answers the count of bytes written.
    uint32_t closeRun(char* out);

    bool m_inBase64 = false;
    uint32_t m_bits = 0;
    uint32_t m_bitCount = 0;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromUcs2ToUtf7, char, uint16_t>;

} // namespace KILN
