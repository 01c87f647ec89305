#pragma once

#include "kiln/base/Iso2022JpEncoder.h"

namespace KILN {

// Converter: UCS-2 to ISO-2022-JP (ASCII, JIS X 0201 Roman, JIS X 0208);
// characters outside those sets are skipped.
class FromUcs2ToIso2022Jp final : public Iso2022JpEncoder<uint16_t> {
protected:
    uint32_t nextCharacter() override;
};

} // namespace KILN
