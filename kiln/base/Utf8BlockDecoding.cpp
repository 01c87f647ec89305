#include "kiln/base/Utf8BlockDecoding.h"

#include "kiln/base/Utf.h"

#include <cstring>

namespace KILN {

namespace {

// True when none of the eight bytes at p has its top bit set.
bool eightAscii(const uint8_t* p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080u) == 0;
}

} // namespace

uint32_t decodeUtf8Block(const uint8_t* bytes, uint32_t length, uint16_t* units, uint32_t* malformed)
{
    const uint8_t* p = bytes;
    const uint8_t* const end = bytes + length;
    uint16_t* out = units;
    const uint8_t* firstMalformed = end;
    const auto replaced = [&](const uint8_t* start) {
        if (firstMalformed == end)
            firstMalformed = start;
        *out++ = static_cast<uint16_t>(utf::Replacement);
    };
    while (p != end) {
        // Markup and Latin text come in ASCII runs: widen them eight at a time.
        while (end - p >= 8 && eightAscii(p)) {
            for (int i = 0; i < 8; ++i)
                out[i] = p[i];
            p += 8;
            out += 8;
        }
        if (p == end)
            break;
        const uint8_t* const start = p;
        const uint8_t lead = *p++;
        if (lead < 0x80) {
            *out++ = lead;
            continue;
        }
        // Japanese text is mostly three-byte sequences, with some of two:
        // the well-formed ones take a short way.
        if (lead >= 0xC2 && lead < 0xE0 && p != end && utf::isUtf8Continuation(p[0])) {
            *out++ = static_cast<uint16_t>((lead & 0x1F) << 6 | (p[0] & 0x3F));
            p += 1;
            continue;
        }
        if (lead >= 0xE0 && lead < 0xF0 && end - p >= 2 && utf::isUtf8Continuation(p[0])
            && utf::isUtf8Continuation(p[1])) {
            const uint32_t value = (lead & 0x0Fu) << 12 | (p[0] & 0x3Fu) << 6 | (p[1] & 0x3Fu);
            if (value >= 0x800 && !utf::isSurrogate(value)) {
                *out++ = static_cast<uint16_t>(value);
                p += 2;
                continue;
            }
        }
        const int extra = utf::utf8Continuations(lead);
        if (extra < 0) {
            replaced(start);
            continue;
        }
        uint32_t value = utf::utf8LeadBits(lead, extra);
        int taken = 0;
        for (; taken < extra && p != end && utf::isUtf8Continuation(*p); ++taken)
            value = value << 6 | (*p++ & 0x3F);
        if (taken < extra || !utf::isWellFormedUtf8(value, extra)) {
            replaced(start);
        } else if (value <= 0xFFFF) {
            *out++ = static_cast<uint16_t>(value);
        } else {
            *out++ = utf::highSurrogateOf(value);
            *out++ = utf::lowSurrogateOf(value);
        }
    }
    if (malformed)
        *malformed = static_cast<uint32_t>(firstMalformed - bytes);
    return static_cast<uint32_t>(out - units);
}

} // namespace KILN
