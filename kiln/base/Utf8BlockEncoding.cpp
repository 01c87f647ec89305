#include "kiln/base/Utf8BlockEncoding.h"

#include "kiln/base/Utf.h"

#include <cstring>

namespace KILN {

namespace {

// True when none of the four units at p is above U+007F.
bool fourAscii(const uint16_t* p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0xFF80FF80FF80FF80u) == 0;
}

} // namespace

uint32_t encodeUtf8Block(const uint16_t* units, uint32_t count, uint8_t* bytes, uint32_t& used)
{
    const uint16_t* p = units;
    const uint16_t* const end = units + count;
    uint8_t* out = bytes;
    while (p != end) {
        // Markup comes in ASCII runs: narrow them four at a time.
        while (end - p >= 4 && fourAscii(p)) {
            for (int i = 0; i < 4; ++i)
                out[i] = static_cast<uint8_t>(p[i]);
            p += 4;
            out += 4;
        }
        if (p == end)
            break;
        uint32_t c = *p;
        if (utf::isHighSurrogate(c)) {
            if (p + 1 == end)
                break;
            if (utf::isLowSurrogate(p[1]))
                c = utf::joinSurrogates(c, *++p);
            else
                c = utf::Replacement;
        } else if (utf::isLowSurrogate(c)) {
            c = utf::Replacement;
        }
        ++p;
        out += utf::encodeUtf8(c, out);
    }
    used = static_cast<uint32_t>(p - units);
    return static_cast<uint32_t>(out - bytes);
}

} // namespace KILN
