#pragma once

#include "kiln/base/MarkWritingConverter.h"

namespace KILN {

// Converter: UTF-32LE to UTF-32LE that starts with the mark (bytes FF FE 00 00).
class FromUtf32LeToUtf32LeBom final : public MarkWritingConverter<unsigned int, 0xFEFF> {};

} // namespace KILN
