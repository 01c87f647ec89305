#pragma once

#include "kiln/base/CopyingConverter.h"

namespace KILN {

// Converter: US-ASCII bytes widened to UCS-4 values.
class FromUsAsciiToUcs4 final : public CopyingConverter<unsigned int, uint8_t, 0xFF> {};

} // namespace KILN
