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

void TableEncoder::convertRun(const uint16_t*& next, const uint16_t* end, char*& dest, char* destEnd)
{
    while (next != end && dest != destEnd) {
        const uint16_t unit = *next;
        if (unit < 0x20 || unit == 0x7F) {
            *dest++ = static_cast<char>(unit);
            ++next;
            continue;
        }
        const uint16_t code = m_table.lookup(unit);
        if (code > 0xFF && code != SparseCodeTable::Absent) {
            if (destEnd - dest < 2)
                return;
            *dest++ = static_cast<char>(code >> 8);
        }
        if (code != SparseCodeTable::Absent)
            *dest++ = static_cast<char>(code);
        ++next;
    }
}

template class Converter<TableEncoder, char, uint16_t>;

} // namespace KILN
