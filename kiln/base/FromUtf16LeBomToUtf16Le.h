#pragma once

#include "kiln/base/MarkDroppingConverter.h"

namespace KILN {

// Converter: UTF-16LE with a leading mark to UTF-16LE without it.
class FromUtf16LeBomToUtf16Le final : public MarkDroppingConverter<unsigned short, 0xFEFF> {};

} // namespace KILN
