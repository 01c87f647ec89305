#pragma once

#include "kiln/base/UInt32SwapEndianIFilter.h"

namespace KILN {

// Converter: UCS-4 in machine order to big-endian UCS-4.
class FromUcs4ToUcs4Be final : public UInt32SwapEndianIFilter {};

} // namespace KILN
