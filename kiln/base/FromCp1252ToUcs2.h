#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: Windows code page 1252 to UCS-2. Bytes below 20 and 7F are
// answered as they are; a byte without mapping answers FFFF.
class FromCp1252ToUcs2 final : public Converter<FromCp1252ToUcs2, unsigned short, uint8_t> {
    friend Converter;

    unsigned short convert();
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromCp1252ToUcs2, unsigned short, uint8_t>;

} // namespace KILN
