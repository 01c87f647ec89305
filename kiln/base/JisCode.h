#pragma once

#include <cstdint>

namespace KILN {

// The arithmetic between the encodings of JIS X 0208: a JIS code (row and
// cell bytes 21-7E), its Shift_JIS pair and its EUC-JP pair (JIS OR 8080).
struct JisCode {
    // JIS code to Shift_JIS.
    static uint16_t toSjis(uint32_t jis)
    {
        const uint32_t j1 = jis >> 8;
        const uint32_t j2 = jis & 0xFF;
        const uint32_t s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
        const uint32_t s2 = j2 + ((j1 & 1) ? (j2 >= 0x60 ? 0x20 : 0x1F) : 0x7E);
        return static_cast<uint16_t>((s1 << 8) | s2);
    }

    // Shift_JIS pair to JIS code; 0 when the pair is no JIS X 0208 code.
    static uint16_t fromSjis(uint32_t sjis)
    {
        uint32_t s1 = sjis >> 8;
        const uint32_t s2 = sjis & 0xFF;
        if (!((s1 >= 0x81 && s1 <= 0x9F) || (s1 >= 0xE0 && s1 <= 0xEF)))
            return 0;
        if (s2 < 0x40 || s2 == 0x7F || s2 > 0xFC)
            return 0;
        if (s1 >= 0xE0)
            s1 -= 0x40;
        uint32_t j1 = (s1 - 0x81) * 2 + 0x21;
        uint32_t j2;
        if (s2 >= 0x9F) {
            ++j1;
            j2 = s2 - 0x7E;
        } else {
            j2 = s2 - (s2 >= 0x80 ? 0x20 : 0x1F);
        }
        return static_cast<uint16_t>((j1 << 8) | j2);
    }

    // True for a code whose two bytes both lie in 21-7E.
    static bool isJis(uint32_t code)
    {
        const uint32_t j1 = code >> 8;
        const uint32_t j2 = code & 0xFF;
        return j1 >= 0x21 && j1 <= 0x7E && j2 >= 0x21 && j2 <= 0x7E;
    }
};

} // namespace KILN
