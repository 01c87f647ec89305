#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Base of the converters from UTF-16 (or UCS-2) to UTF-8, optionally writing
// the byte-order mark EF BB BF first. A surrogate pair becomes one four-byte
// sequence; a high surrogate not followed by a low one is dropped alone and
// the unit after it is encoded as usual; a lone low surrogate is written as
// a three-byte sequence.
class Utf16ToUtf8Encoder : public Converter<Utf16ToUtf8Encoder, char, uint16_t> {
protected:
    explicit Utf16ToUtf8Encoder(bool writeMark) : m_writeMark(writeMark) {}

private:
    friend Converter;
    // A high surrogate cut off by the end is dropped within convert().
    bool holdsNothing() const { return true; }

    char convert();
    // The same for a run of units, each sequence written whole; a high
    // surrogate without its low one goes to convert().
    void convertRun(const uint16_t*& next, const uint16_t* end, char*& dest, char* destEnd);

    const bool m_writeMark;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<Utf16ToUtf8Encoder, char, uint16_t>;

} // namespace KILN
