#pragma once

#include "kiln/base/UInt16SwapEndianIFilter.h"

namespace KILN {

// Converter: Big-endian UCS-2 to machine order.
class FromUcs2BeToUcs2 final : public UInt16SwapEndianIFilter {};

} // namespace KILN
