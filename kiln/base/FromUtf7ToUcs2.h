#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: UTF-7 to UCS-2. "+-" is "+"; "+" opens a modified base64 run
// that every byte outside the base64 alphabet closes ("-" is absorbed); bits
// that do not complete a unit are dropped. Other bytes pass as they are.
class FromUtf7ToUcs2 final : public Converter<FromUtf7ToUcs2, unsigned short, uint8_t> {
    friend Converter;

    unsigned short convert();

    bool m_inBase64 = false;
    uint32_t m_bits = 0;
    uint32_t m_bitCount = 0;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromUtf7ToUcs2, unsigned short, uint8_t>;

} // namespace KILN
