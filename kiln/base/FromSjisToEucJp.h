#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: Shift_JIS to EUC-JP. Bytes below 80 pass; a half-width katakana
// byte becomes 8E and the byte; a double-byte code is translated by toEuc and
// skipped when it has no EUC-JP code; any other byte is skipped.
class FromSjisToEucJp : public Converter<FromSjisToEucJp, char, uint8_t> {
protected:
    // EUC-JP code of a Shift_JIS pair, or 0xFFFF: a code above FF with its top
    // bit set is two bytes, a three-byte code 8F XX YY is (XX AND 7F) * 256 + YY.
    // Here: JIS X 0208 by arithmetic.
    virtual uint16_t toEuc(uint32_t sjis) const;

private:
    friend Converter;

    char convert();
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromSjisToEucJp, char, uint8_t>;

} // namespace KILN
