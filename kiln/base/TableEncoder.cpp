#include "kiln/base/TableEncoder.h"

namespace KILN {

char TableEncoder::convert()
{
    for (;;) {
        const uint16_t unit = input();
        if (unit < 0x20 || unit == 0x7F)
            return static_cast<char>(unit);
        const uint16_t code = m_table.lookup(unit);
        if (code != SparseCodeTable::Absent)
            return answerCode(code);
    }
}

template class Converter<TableEncoder, char, uint16_t>;

} // namespace KILN
