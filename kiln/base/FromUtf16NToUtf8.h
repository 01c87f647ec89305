#pragma once

#include "kiln/base/Utf16ToUtf8Encoder.h"

namespace KILN {

// Converter: UTF-16 in machine order to UTF-8 with a byte-order mark.
class FromUtf16NToUtf8 final : public Utf16ToUtf8Encoder {
public:
    FromUtf16NToUtf8() : Utf16ToUtf8Encoder(true) {}
};

} // namespace KILN
