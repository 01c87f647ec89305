#pragma once

#include "kiln/base/MarkWritingConverter.h"

namespace KILN {

// Converter: UTF-8 without a mark to UTF-8 that starts with the mark EF BB BF.
class FromUtf8NToUtf8 final : public MarkWritingConverter<char, '\xEF', '\xBB', '\xBF'> {};

} // namespace KILN
