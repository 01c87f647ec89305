#include "kiln/base/FromCp1252ToUcs2.h"

#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

unsigned short FromCp1252ToUcs2::convert()
{
    const uint8_t b = input();
    if (b < 0x20 || b == 0x7F)
        return b;
    return tables::cp1252ToUcs2[b];
}

template class Converter<FromCp1252ToUcs2, unsigned short, uint8_t>;

} // namespace KILN
