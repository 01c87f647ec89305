#pragma once

#include "kiln/base/MarkWritingConverter.h"

namespace KILN {

// Converter: UTF-16 in machine order to UTF-16 that starts with the mark U+FEFF.
class FromUtf16NToUtf16 final : public MarkWritingConverter<unsigned short, 0xFEFF> {};

} // namespace KILN
