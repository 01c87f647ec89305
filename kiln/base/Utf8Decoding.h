#pragma once

#include "kiln/base/Utf.h"

#include <cstdint>

namespace KILN {

// The lenient UTF-8 step: decodes sequences, one at a time, into code points,
// taking each byte from a callable that answers the next one; whatever is not
// well-formed answers U+FFFD and decoding goes on. A lead C2-F4 and its
// continuation bytes make one sequence; an overlong form (C0 AF for '/'), an
// encoded surrogate (ED A0 80) or a value beyond U+10FFFF answers U+FFFD after
// consuming its bytes, so that no hidden ASCII ever comes out. A byte that can
// begin no sequence (80-BF, F8-FF) answers U+FFFD alone. A byte that is not a
// continuation byte (10xxxxxx) ends the sequence it was to continue, which
// answers U+FFFD, and is decoded afresh by the next call: malformed input
// never swallows the text after it.
class Utf8Decoder {
public:
    // Forgets a byte held back from a malformed sequence (on a fresh read).
    void restart() { m_held = NoByte; }
    // Whether the next sequence begins with a byte held back.
    bool holdsByte() const { return m_held != NoByte; }

    template <class NextByte>
    uint32_t decode(NextByte&& nextByte)
    {
        const uint8_t lead = static_cast<uint8_t>(next(nextByte));
        const int extra = utf::utf8Continuations(lead);
        if (extra < 0)
            return utf::Replacement;
        uint32_t value = utf::utf8LeadBits(lead, extra);
        for (int k = 0; k < extra; ++k) {
            uint32_t bits;
            if (!continuation(nextByte, bits))
                return utf::Replacement;
            value = value << 6 | bits;
        }
        return utf::isWellFormedUtf8(value, extra) ? value : utf::Replacement;
    }

private:
    static constexpr uint32_t NoByte = 0x100;

    template <class NextByte>
    uint32_t next(NextByte& nextByte)
    {
        if (m_held == NoByte)
            return static_cast<uint8_t>(nextByte());
        const uint32_t held = m_held;
        m_held = NoByte;
        return held;
    }

    // Reads a continuation byte's six bits; holds back any other byte.
    template <class NextByte>
    bool continuation(NextByte& nextByte, uint32_t& bits)
    {
        const uint32_t byte = static_cast<uint8_t>(nextByte());
        if (!utf::isUtf8Continuation(static_cast<uint8_t>(byte))) {
            m_held = byte;
            return false;
        }
        bits = byte & 0x3F;
        return true;
    }

    uint32_t m_held = NoByte;
};

} // namespace KILN
