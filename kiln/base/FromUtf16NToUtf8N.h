#pragma once

#include "kiln/base/Utf16ToUtf8Encoder.h"

namespace KILN {

// Converter: UTF-16 in machine order to UTF-8 without a mark.
class FromUtf16NToUtf8N final : public Utf16ToUtf8Encoder {
public:
    FromUtf16NToUtf8N() : Utf16ToUtf8Encoder(false) {}
};

} // namespace KILN
