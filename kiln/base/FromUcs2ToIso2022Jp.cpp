#include "kiln/base/FromUcs2ToIso2022Jp.h"

#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

uint32_t FromUcs2ToIso2022Jp::nextCharacter()
{
    for (;;) {
        const uint16_t unit = input();
        if (unit <= 0x7F)
            return character(Ascii, unit);
        const uint16_t code = tables::ucs2ToIso2022Jp.lookup(unit);
        if (code == SparseCodeTable::Absent)
            continue;
        if (code > 0xFF)
            return character(Jis0208, code);
        if (code <= 0x7F)
            return character(Roman, code);
    }
}

} // namespace KILN
