#pragma once

#include "kiln/base/IFlow.h"

#include <cstdint>

namespace KILN {

// Value answered for a four-byte UTF-8 sequence outside U+10000..U+10FFFF.
constexpr uint32_t InvalidUtf8Sequence = 0xFFFFFFFF;
// Value answered for a sequence cut short by a byte that cannot continue it.
constexpr uint32_t MalformedUtf8Sequence = 0xFFFD;

// Decodes UTF-8 sequences read from a byte flow. The lead's top bits alone
// give the length (stray 80-BF leads count as two, three or four bytes).
// One- to three-byte sequences answer their value cut to 16 bits; a four-byte
// sequence answers U+10000..U+10FFFF or InvalidUtf8Sequence, always after
// consuming all four bytes. A byte that is not a continuation byte (10xxxxxx)
// ends the sequence it was to continue, which answers U+FFFD, and is decoded
// afresh by the next call: malformed input never swallows the text after it.
class Utf8Decoder {
public:
    // Forgets a byte held back from a malformed sequence (on a fresh read).
    void restart() { m_held = NoByte; }

    uint32_t decode(IFlow& source)
    {
        const uint32_t lead = next(source);
        if (lead < 0x80)
            return lead;
        uint32_t b2, b3, b4;
        if (!continuation(source, b2))
            return MalformedUtf8Sequence;
        if (!(lead & 0x20))
            return ((lead << 6) & 0x7FF) | b2;
        if (!continuation(source, b3))
            return MalformedUtf8Sequence;
        if (!(lead & 0x10))
            return ((lead << 12) | (b2 << 6) | b3) & 0xFFFF;
        if (!continuation(source, b4))
            return MalformedUtf8Sequence;
        const uint32_t value = ((lead & 0x07) << 18) | (b2 << 12) | (b3 << 6) | b4;
        return value >= 0x10000 && value <= 0x10FFFF ? value : InvalidUtf8Sequence;
    }

private:
    static constexpr uint32_t NoByte = 0x100;

    uint32_t next(IFlow& source)
    {
        if (m_held == NoByte)
            return source.read8();
        const uint32_t held = m_held;
        m_held = NoByte;
        return held;
    }

    // Reads a continuation byte's six bits; holds back any other byte.
    bool continuation(IFlow& source, uint32_t& bits)
    {
        const uint32_t byte = source.read8();
        if ((byte & 0xC0) != 0x80) {
            m_held = byte;
            return false;
        }
        bits = byte & 0x3F;
        return true;
    }

    uint32_t m_held = NoByte;
};

} // namespace KILN
