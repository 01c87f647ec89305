#pragma once

#include "kiln/base/MarkWritingConverter.h"

namespace KILN {

// Converter: UTF-16BE to UTF-16BE that starts with the mark (bytes FE FF).
class FromUtf16BeToUtf16BeBom final : public MarkWritingConverter<unsigned short, 0xFFFE> {};

} // namespace KILN
