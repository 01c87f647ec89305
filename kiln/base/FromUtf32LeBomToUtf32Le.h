#pragma once

#include "kiln/base/MarkDroppingConverter.h"

namespace KILN {

// Converter: UTF-32LE with a leading mark to UTF-32LE without it.
class FromUtf32LeBomToUtf32Le final : public MarkDroppingConverter<unsigned int, 0xFEFF> {};

} // namespace KILN
