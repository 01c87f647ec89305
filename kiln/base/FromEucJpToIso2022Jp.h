#pragma once

#include "kiln/base/Iso2022JpEncoder.h"

namespace KILN {

// Converter: EUC-JP to ISO-2022-JP. Half-width katakana (8E XX) and JIS X
// 0212 codes (8F XX YY) are skipped.
class FromEucJpToIso2022Jp final : public Iso2022JpEncoder<uint8_t> {
protected:
    uint32_t nextCharacter() override;
};

} // namespace KILN
