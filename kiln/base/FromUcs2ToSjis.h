#pragma once

#include "kiln/base/TableEncoder.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: UCS-2 to Shift_JIS.
class FromUcs2ToSjis final : public TableEncoder {
public:
    FromUcs2ToSjis() : TableEncoder(tables::ucs2ToSjis) {}
};

} // namespace KILN
