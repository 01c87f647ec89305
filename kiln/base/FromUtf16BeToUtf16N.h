#pragma once

#include "kiln/base/UInt16SwapEndianIFilter.h"

namespace KILN {

// Converter: UTF-16BE to UTF-16 in machine order.
class FromUtf16BeToUtf16N final : public UInt16SwapEndianIFilter {};

} // namespace KILN
