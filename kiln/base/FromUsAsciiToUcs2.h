#pragma once

#include "kiln/base/CopyingConverter.h"

namespace KILN {

// Converter: US-ASCII bytes widened to UCS-2 units.
class FromUsAsciiToUcs2 final : public CopyingConverter<unsigned short, uint8_t, 0xFF> {};

} // namespace KILN
