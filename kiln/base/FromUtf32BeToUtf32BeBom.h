#pragma once

#include "kiln/base/MarkWritingConverter.h"

namespace KILN {

// Converter: UTF-32BE to UTF-32BE that starts with the mark (bytes 00 00 FE FF).
class FromUtf32BeToUtf32BeBom final : public MarkWritingConverter<unsigned int, 0xFFFE0000> {};

} // namespace KILN
