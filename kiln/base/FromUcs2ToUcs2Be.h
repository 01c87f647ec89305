#pragma once

#include "kiln/base/UInt16SwapEndianIFilter.h"

namespace KILN {

// Converter: UCS-2 in machine order to big-endian UCS-2.
class FromUcs2ToUcs2Be final : public UInt16SwapEndianIFilter {};

} // namespace KILN
