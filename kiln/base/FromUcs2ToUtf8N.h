#pragma once

#include "kiln/base/Utf16ToUtf8Encoder.h"

namespace KILN {

// Converter: UCS-2 to UTF-8 without a mark; surrogate pairs are joined as in UTF-16.
class FromUcs2ToUtf8N final : public Utf16ToUtf8Encoder {
public:
    FromUcs2ToUtf8N() : Utf16ToUtf8Encoder(false) {}
};

} // namespace KILN
