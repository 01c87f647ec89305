#pragma once

// Encoding UTF-16 text as UTF-8 in one loop, for writers that hold the units
// in memory: no flow call per unit.

#include <cstdint>

namespace KILN {

// Encodes count units into bytes, which must have room for three bytes a
// unit, and answers the number of bytes written. A surrogate pair becomes one
// four-byte sequence and a lone surrogate U+FFFD, so that the bytes are
// always well-formed. A high surrogate that ends the units is not encoded
// (the next block may bring its low half): used tells how many units were,
// count or count - 1.
uint32_t encodeUtf8Block(const uint16_t* units, uint32_t count, uint8_t* bytes, uint32_t& used);

} // namespace KILN
