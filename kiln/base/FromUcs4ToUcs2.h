#pragma once

#include "kiln/base/CopyingConverter.h"

namespace KILN {

// Converter: UCS-4 to UCS-2; values above FFFF are skipped.
class FromUcs4ToUcs2 final : public CopyingConverter<unsigned short, uint32_t, 0xFFFF> {};

} // namespace KILN
