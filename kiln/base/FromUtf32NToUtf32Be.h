#pragma once

#include "kiln/base/UInt32SwapEndianIFilter.h"

namespace KILN {

// Converter: UTF-32 in machine order to UTF-32BE.
class FromUtf32NToUtf32Be final : public UInt32SwapEndianIFilter {};

} // namespace KILN
