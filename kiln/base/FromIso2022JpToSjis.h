#pragma once

#include "kiln/base/Iso2022JpDecoder.h"

namespace KILN {

// Converter: ISO-2022-JP to Shift_JIS.
class FromIso2022JpToSjis final : public Iso2022JpDecoder {
protected:
    char writeJis0208(uint32_t jis) override;
    char writeKana(uint32_t kana) override { return static_cast<char>(kana); }
};

} // namespace KILN
