#pragma once

#include "kiln/base/TableEncoder.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: UCS-2 to ISO 8859-3; characters outside the part are skipped.
class FromUcs2To8859_3 final : public TableEncoder {
public:
    FromUcs2To8859_3() : TableEncoder(tables::ucs2To8859_3) {}
};

} // namespace KILN
