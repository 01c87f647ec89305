#pragma once

#include "kiln/base/TableEncoder.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: UCS-2 to EUC-JP (JIS X 0208 and half-width katakana).
class FromUcs2ToEucJp final : public TableEncoder {
public:
    FromUcs2ToEucJp() : TableEncoder(tables::ucs2ToEucJp) {}
};

} // namespace KILN
