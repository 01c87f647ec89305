#pragma once

#include "kiln/base/IFlow.h"

#include <cstdint>

namespace KILN {

// Value answered for a four-byte UTF-8 sequence outside U+10000..U+10FFFF.
constexpr uint32_t InvalidUtf8Sequence = 0xFFFFFFFF;

// Decodes the UTF-8 sequence that starts with lead, reading its further bytes
// from source. The lead's top bits alone give the length (stray 80-BF leads
// count as two, three or four bytes) and continuation bytes are taken as they
// come. One- to three-byte sequences answer their value cut to 16 bits; a
// four-byte sequence answers U+10000..U+10FFFF or InvalidUtf8Sequence, always
// after consuming all four bytes.
inline uint32_t decodeUtf8(uint8_t lead, IFlow& source)
{
    if (lead < 0x80)
        return lead;
    const uint32_t b2 = source.read8() & 0x3F;
    if (!(lead & 0x20))
        return ((lead << 6) & 0x7FF) | b2;
    const uint32_t b3 = source.read8() & 0x3F;
    if (!(lead & 0x10))
        return ((lead << 12) | (b2 << 6) | b3) & 0xFFFF;
    const uint32_t b4 = source.read8() & 0x3F;
    const uint32_t value = ((lead & 0x07) << 18) | (b2 << 12) | (b3 << 6) | b4;
    return value >= 0x10000 && value <= 0x10FFFF ? value : InvalidUtf8Sequence;
}

} // namespace KILN
