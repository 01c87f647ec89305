#pragma once

// Decoding a whole UTF-8 text into UTF-16 in one loop, for readers that hold
// the bytes in memory: the lenient rules of Utf8Decoder without a flow call
// per byte.

#include <cstdint>

namespace KILN {

// Decodes length bytes into units, which must have room for length units
// (no text gives more), and answers the number of units written. Whatever is
// not well-formed answers U+FFFD as Utf8Decoder does: a byte that begins no
// sequence alone; a lead and the continuation bytes that follow it, when
// they make an overlong form, a surrogate or a value beyond U+10FFFF, or when
// another byte or the end of the text cuts them short. A byte that cuts a
// sequence short is decoded afresh. Characters above U+FFFF become surrogate
// pairs; U+FEFF is kept wherever it stands.
// When malformed is given, it receives the offset of the first byte that
// begins a malformed sequence, or length when there is none.
uint32_t decodeUtf8Block(const uint8_t* bytes, uint32_t length, uint16_t* units, uint32_t* malformed = nullptr);

} // namespace KILN
