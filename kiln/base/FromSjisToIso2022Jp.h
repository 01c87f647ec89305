#pragma once

#include "kiln/base/Iso2022JpEncoder.h"

namespace KILN {

// Converter: Shift_JIS to ISO-2022-JP. Half-width katakana and codes outside
// JIS X 0208 are skipped.
class FromSjisToIso2022Jp final : public Iso2022JpEncoder<uint8_t> {
protected:
    uint32_t nextCharacter() override;
};

} // namespace KILN
