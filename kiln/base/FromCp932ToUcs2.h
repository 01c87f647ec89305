#pragma once

#include "kiln/base/DoubleByteDecoder.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: code page 932 to UCS-2.
class FromCp932ToUcs2 final : public DoubleByteDecoder {
public:
    FromCp932ToUcs2() : DoubleByteDecoder(tables::cp932ToUcs2, true) {}
};

} // namespace KILN
