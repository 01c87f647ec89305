#include "kiln/base/FromSjisToIso2022Jp.h"

#include "kiln/base/JisCode.h"

namespace KILN {

uint32_t FromSjisToIso2022Jp::nextCharacter()
{
    for (;;) {
        const uint32_t b = input();
        if (b < 0x80)
            return character(Ascii, b);
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (const uint16_t jis = JisCode::fromSjis((b << 8) | input()))
                return character(Jis0208, jis);
        }
    }
}

} // namespace KILN
