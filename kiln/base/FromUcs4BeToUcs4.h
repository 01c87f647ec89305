#pragma once

#include "kiln/base/UInt32SwapEndianIFilter.h"

namespace KILN {

// Converter: Big-endian UCS-4 to machine order.
class FromUcs4BeToUcs4 final : public UInt32SwapEndianIFilter {};

} // namespace KILN
