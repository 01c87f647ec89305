#pragma once

#include "kiln/base/MarkDroppingConverter.h"

namespace KILN {

// Converter: UTF-16BE with a leading mark to UTF-16BE without it.
class FromUtf16BeBomToUtf16Be final : public MarkDroppingConverter<unsigned short, 0xFFFE> {};

} // namespace KILN
