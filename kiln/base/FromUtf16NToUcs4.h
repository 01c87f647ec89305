#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Converter: UTF-16 in machine order to UCS-4. A surrogate pair becomes one
// value; a lone surrogate is answered as its own value, so nothing is lost.
class FromUtf16NToUcs4 : public Converter<FromUtf16NToUcs4, unsigned int, uint16_t> {
    friend Converter;

    unsigned int convert();

    // A unit read after a high surrogate that did not complete it.
    int32_t m_pending = -1;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromUtf16NToUcs4, unsigned int, uint16_t>;

} // namespace KILN
