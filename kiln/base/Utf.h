#pragma once

// Unicode arithmetic shared by the encodings, the XML scanner and native
// paths: surrogate pairs, UTF-8 sequences and their well-formedness.

#include <cstddef>
#include <cstdint>

namespace KILN::utf {

// The value that stands for input that is not well-formed.
constexpr uint32_t Replacement = 0xFFFD;

constexpr bool isHighSurrogate(uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool isLowSurrogate(uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

constexpr bool isSurrogate(uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// A code point that is not a surrogate: what UTF-8 and UTF-32 may carry.
constexpr bool isScalarValue(uint32_t c)
{
    return c <= 0x10FFFF && !isSurrogate(c);
}

// The character of a surrogate pair.
constexpr uint32_t joinSurrogates(uint32_t high, uint32_t low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// The halves of the pair of a character U+10000..U+10FFFF.
constexpr uint16_t highSurrogateOf(uint32_t c)
{
    return static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10));
}

constexpr uint16_t lowSurrogateOf(uint32_t c)
{
    return static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
}

// The number of continuation bytes a UTF-8 lead announces by its top bits;
// -1 for a byte that begins no sequence (a continuation byte, F8-FF).
constexpr int utf8Continuations(uint8_t lead)
{
    return lead < 0x80 ? 0 : lead < 0xC0 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF8 ? 3 : -1;
}

constexpr bool isUtf8Continuation(uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

// The bits a lead with that many continuation bytes contributes.
constexpr uint32_t utf8LeadBits(uint8_t lead, int continuations)
{
    return continuations == 0 ? lead : lead & (0x3Fu >> continuations);
}

// True when a value decoded from a lead and that many continuation bytes is
// well-formed: in the shortest form (C0 AF is an overlong '/'), no surrogate,
// at most U+10FFFF.
constexpr bool isWellFormedUtf8(uint32_t value, int continuations)
{
    constexpr uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    return value >= least[continuations] && isScalarValue(value);
}

// Writes the UTF-8 sequence of c (up to U+10FFFF; a surrogate takes three
// bytes like any BMP value) and answers its length.
constexpr int encodeUtf8(uint32_t c, uint8_t out[4])
{
    if (c < 0x80) {
        out[0] = static_cast<uint8_t>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<uint8_t>(0xC0 | c >> 6);
        out[1] = static_cast<uint8_t>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<uint8_t>(0xE0 | c >> 12);
        out[1] = static_cast<uint8_t>(0x80 | (c >> 6 & 0x3F));
        out[2] = static_cast<uint8_t>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<uint8_t>(0xF0 | c >> 18);
    out[1] = static_cast<uint8_t>(0x80 | (c >> 12 & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 | (c >> 6 & 0x3F));
    out[3] = static_cast<uint8_t>(0x80 | (c & 0x3F));
    return 4;
}

// The strict step: decodes the sequence that begins bytes[0] (length bytes
// at hand) and sets used to its length. Anything but a whole well-formed
// sequence answers Replacement with used 1, so that decoding goes on at the
// next byte and no byte is ever swallowed.
constexpr uint32_t decodeUtf8(const uint8_t* bytes, size_t length, size_t& used)
{
    used = 1;
    const int extra = utf8Continuations(bytes[0]);
    if (extra < 0 || static_cast<size_t>(extra) >= length)
        return Replacement;
    uint32_t value = utf8LeadBits(bytes[0], extra);
    for (int k = 1; k <= extra; ++k) {
        if (!isUtf8Continuation(bytes[k]))
            return Replacement;
        value = value << 6 | (bytes[k] & 0x3F);
    }
    if (!isWellFormedUtf8(value, extra))
        return Replacement;
    used = static_cast<size_t>(extra) + 1;
    return value;
}

} // namespace KILN::utf
