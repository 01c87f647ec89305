#pragma once

#include "kiln/base/CopyingConverter.h"

namespace KILN {

// Converter: UCS-2 units widened to UCS-4 values.
class FromUcs2ToUcs4 final : public CopyingConverter<unsigned int, uint16_t, 0xFFFF> {};

} // namespace KILN
