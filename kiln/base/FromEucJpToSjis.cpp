#include "kiln/base/FromEucJpToSjis.h"

#include "kiln/base/JisCode.h"
#include "kiln/base/SparseCodeTable.h"

namespace KILN {

uint16_t FromEucJpToSjis::toSjis(uint32_t euc) const
{
    if ((euc >> 8) == 0x8E) {
        const uint32_t kana = euc & 0xFF;
        return kana >= 0xA1 && kana <= 0xDF ? static_cast<uint16_t>(kana) : SparseCodeTable::Absent;
    }
    if ((euc & 0x8080) != 0x8080 || !JisCode::isJis(euc & 0x7F7F))
        return SparseCodeTable::Absent;
    return JisCode::toSjis(euc & 0x7F7F);
}

char FromEucJpToSjis::convert()
{
    for (;;) {
        const uint32_t b = input();
        if (b < 0x80)
            return static_cast<char>(b);
        uint32_t euc;
        if (b == 0x8F) {
            const uint32_t x = input();
            euc = ((x & 0x7F) << 8) | input();
        } else if (b == 0x8E || (b >= 0xA1 && b <= 0xFE)) {
            euc = (b << 8) | input();
        } else {
            continue;
        }
        const uint32_t code = toSjis(euc);
        if (code != SparseCodeTable::Absent)
            return answerCode(code);
    }
}

template class Converter<FromEucJpToSjis, char, uint8_t>;

} // namespace KILN
