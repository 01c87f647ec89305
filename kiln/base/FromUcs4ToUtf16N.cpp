#include "kiln/base/FromUcs4ToUtf16N.h"

namespace KILN {

unsigned short FromUcs4ToUtf16N::convert()
{
    for (;;) {
        const uint32_t value = input();
        if (value <= 0xFFFF)
            return static_cast<unsigned short>(value);
        if (value <= 0x10FFFF) {
            const uint32_t v = value - 0x10000;
            return answer(static_cast<unsigned short>(0xD800 + (v >> 10)),
                          static_cast<unsigned short>(0xDC00 + (v & 0x3FF)));
        }
    }
}

} // namespace KILN
