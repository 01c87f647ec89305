#pragma once

#include "kiln/base/MarkDroppingConverter.h"

namespace KILN {

// Converter: UTF-32BE with a leading mark to UTF-32BE without it.
class FromUtf32BeBomToUtf32Be final : public MarkDroppingConverter<unsigned int, 0xFFFE0000> {};

} // namespace KILN
