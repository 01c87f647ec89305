#pragma once

#include "kiln/base/MarkWritingConverter.h"

namespace KILN {

// Converter: UTF-32 in machine order to UTF-32 that starts with the mark U+FEFF.
class FromUtf32NToUtf32 final : public MarkWritingConverter<unsigned int, 0xFEFF> {};

} // namespace KILN
