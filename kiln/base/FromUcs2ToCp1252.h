#pragma once

#include "kiln/base/TableEncoder.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: UCS-2 to Windows code page 1252.
class FromUcs2ToCp1252 final : public TableEncoder {
public:
    FromUcs2ToCp1252() : TableEncoder(tables::ucs2ToCp1252) {}
};

} // namespace KILN
