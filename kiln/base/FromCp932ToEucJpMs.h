#pragma once

#include "kiln/base/FromSjisToEucJp.h"

namespace KILN {

// Converter: code page 932 to eucJP-MS. Double-byte codes go through their
// character, so the vendor rows and user-defined area land on their eucJP-MS
// codes (three-byte ones included) instead of an arithmetic neighbour.
class FromCp932ToEucJpMs final : public FromSjisToEucJp {
protected:
    uint16_t toEuc(uint32_t sjis) const override;
};

} // namespace KILN
