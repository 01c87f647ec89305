#include "kiln/base/FromEucJpToIso2022Jp.h"

#include "kiln/base/JisCode.h"

namespace KILN {

uint32_t FromEucJpToIso2022Jp::nextCharacter()
{
    for (;;) {
        const uint32_t b = input();
        if (b < 0x80)
            return character(Ascii, b);
        if (b == 0x8F) {
            input();
            input();
        } else if (b == 0x8E) {
            input();
        } else if (b >= 0xA1 && b <= 0xFE) {
            const uint32_t euc = (b << 8) | input();
            if ((euc & 0x8080) == 0x8080 && JisCode::isJis(euc & 0x7F7F))
                return character(Jis0208, euc & 0x7F7F);
        }
    }
}

} // namespace KILN
