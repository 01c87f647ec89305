#pragma once

#include "kiln/base/TableEncoder.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: UCS-2 to code page 932.
class FromUcs2ToCp932 final : public TableEncoder {
public:
    FromUcs2ToCp932() : TableEncoder(tables::ucs2ToCp932) {}
};

} // namespace KILN
