#pragma once

#include "kiln/base/MarkWritingConverter.h"

namespace KILN {

// Converter: UTF-16LE to UTF-16LE that starts with the mark (bytes FF FE).
class FromUtf16LeToUtf16LeBom final : public MarkWritingConverter<unsigned short, 0xFEFF> {};

} // namespace KILN
