#include "kiln/base/FromCp932ToEucJpMs.h"

#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

uint16_t FromCp932ToEucJpMs::toEuc(uint32_t sjis) const
{
    return tables::ucs2ToEucJpMs.lookup(tables::cp932ToUcs2.lookup(sjis));
}

} // namespace KILN
