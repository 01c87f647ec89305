#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: EUC-JP to Shift_JIS. Bytes below 80 pass; every other code is
// translated by toSjis and skipped when it has no Shift_JIS code.
class FromEucJpToSjis : public Converter<FromEucJpToSjis, char, uint8_t> {
protected:
    // Shift_JIS code (one or two bytes) of an EUC-JP code, or 0xFFFF. Two-byte
    // codes come as they are, a three-byte code 8F XX YY as (XX AND 7F) * 256
    // + YY. Here: JIS X 0208 by arithmetic, katakana 8E XX as XX; three-byte
    // codes (JIS X 0212) have none.
    virtual uint16_t toSjis(uint32_t euc) const;

private:
    friend Converter;

    char convert();
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromEucJpToSjis, char, uint8_t>;

} // namespace KILN
