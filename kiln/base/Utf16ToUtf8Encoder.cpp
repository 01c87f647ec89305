#include "kiln/base/Utf16ToUtf8Encoder.h"

namespace KILN {

namespace {

char byte(uint32_t value)
{
    return static_cast<char>(value);
}

} // namespace

char Utf16ToUtf8Encoder::convert()
{
    if (m_writeMark && m_fresh)
        return answer(byte(0xEF), byte(0xBB), byte(0xBF));
    uint32_t unit = input();
    while (unit >= 0xD800 && unit <= 0xDBFF) {
        const uint32_t low = input();
        if (low >= 0xDC00 && low <= 0xDFFF) {
            const uint32_t value = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            return answer(byte(0xF0 | (value >> 18)), byte(0x80 | ((value >> 12) & 0x3F)),
                          byte(0x80 | ((value >> 6) & 0x3F)), byte(0x80 | (value & 0x3F)));
        }
        // A lone high surrogate: drop it alone and encode what follows.
        unit = low;
    }
    if (unit < 0x80)
        return byte(unit);
    if (unit < 0x800)
        return answer(byte(0xC0 | (unit >> 6)), byte(0x80 | (unit & 0x3F)));
    return answer(byte(0xE0 | (unit >> 12)), byte(0x80 | ((unit >> 6) & 0x3F)), byte(0x80 | (unit & 0x3F)));
}

} // namespace KILN
