#include "kiln/base/FromSjisToEucJp.h"

#include "kiln/base/JisCode.h"
#include "kiln/base/SparseCodeTable.h"

namespace KILN {

uint16_t FromSjisToEucJp::toEuc(uint32_t sjis) const
{
    const uint16_t jis = JisCode::fromSjis(sjis);
    return jis ? static_cast<uint16_t>(jis | 0x8080) : SparseCodeTable::Absent;
}

char FromSjisToEucJp::convert()
{
    for (;;) {
        const uint32_t b = input();
        if (b < 0x80)
            return static_cast<char>(b);
        if (b >= 0xA1 && b <= 0xDF)
            return answer(static_cast<char>(0x8E), static_cast<char>(b));
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            const uint32_t code = toEuc((b << 8) | input());
            if (code == SparseCodeTable::Absent)
                continue;
            // A three-byte code comes without its 8F and the top bit of its second byte.
            if (code > 0xFF && !(code & 0x8000))
                return answer(static_cast<char>(0x8F), static_cast<char>((code >> 8) | 0x80), static_cast<char>(code));
            return answerCode(code);
        }
    }
}

template class Converter<FromSjisToEucJp, char, uint8_t>;

} // namespace KILN
