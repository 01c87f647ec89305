#pragma once

#include "kiln/base/FromEucJpToSjis.h"

namespace KILN {

// Converter: eucJP-MS to code page 932. Codes go through their character, so
// the vendor rows, the three-byte codes that code page 932 also holds and the
// user-defined area reach their code page 932 codes.
class FromEucJpMsToCp932 final : public FromEucJpToSjis {
protected:
    uint16_t toSjis(uint32_t euc) const override;
};

} // namespace KILN
