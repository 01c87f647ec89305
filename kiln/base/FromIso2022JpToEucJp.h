#pragma once

#include "kiln/base/Iso2022JpDecoder.h"

namespace KILN {

// Converter: ISO-2022-JP to EUC-JP.
class FromIso2022JpToEucJp final : public Iso2022JpDecoder {
protected:
    char writeJis0208(uint32_t jis) override
    {
        return answer(static_cast<char>((jis >> 8) | 0x80), static_cast<char>(jis | 0x80));
    }
    char writeKana(uint32_t kana) override { return answer('\x8E', static_cast<char>(kana)); }
};

} // namespace KILN
