#pragma once

#include "kiln/base/DoubleByteDecoder.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: Shift_JIS to UCS-2.
class FromSjisToUcs2 final : public DoubleByteDecoder {
public:
    FromSjisToUcs2() : DoubleByteDecoder(tables::sjisToUcs2, false) {}
};

} // namespace KILN
