#pragma once

#include "kiln/base/UInt16SwapEndianIFilter.h"

namespace KILN {

// Converter: UTF-16 in machine order to UTF-16BE.
class FromUtf16NToUtf16Be final : public UInt16SwapEndianIFilter {};

} // namespace KILN
