#include "kiln/base/FromEucJpMsToCp932.h"

#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

uint16_t FromEucJpMsToCp932::toSjis(uint32_t euc) const
{
    return tables::ucs2ToCp932.lookup(tables::eucJpMsToUcs2.lookup(euc));
}

} // namespace KILN
