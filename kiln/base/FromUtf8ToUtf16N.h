#pragma once

#include "kiln/base/Converter.h"
#include "kiln/base/Utf8Decoding.h"

namespace KILN {

// Converter: UTF-8 with an optional byte-order mark to UTF-16 in machine
// order. Characters above U+FFFF become surrogate pairs; a sequence that is
// not well-formed (cut short by another byte, overlong, a surrogate, beyond
// U+10FFFF) answers U+FFFD; one cut short by the end of the input ends
// quietly, as in the other converters. (The XML reader's own loop answers
// U+FFFD there; a document cannot end in the middle of its text, so parse
// results are the same.)
class FromUtf8ToUtf16N final : public Converter<FromUtf8ToUtf16N, unsigned short, uint8_t> {
    friend Converter;
    // A sequence cut short by the end ends quietly within convert(); a byte
    // held back from a malformed one is still to be answered.
    bool holdsNothing() const { return !m_decoder.holdsByte(); }

    unsigned short convert();

    Utf8Decoder m_decoder;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<FromUtf8ToUtf16N, unsigned short, uint8_t>;

} // namespace KILN
