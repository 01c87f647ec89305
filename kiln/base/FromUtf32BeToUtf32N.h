#pragma once

#include "kiln/base/UInt32SwapEndianIFilter.h"

namespace KILN {

// Converter: UTF-32BE to UTF-32 in machine order.
class FromUtf32BeToUtf32N final : public UInt32SwapEndianIFilter {};

} // namespace KILN
