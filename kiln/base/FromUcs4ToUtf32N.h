#pragma once

#include "kiln/base/CopyingConverter.h"

namespace KILN {

// Converter: UCS-4 to UTF-32; values above 10FFFF are skipped.
class FromUcs4ToUtf32N final : public CopyingConverter<unsigned int, uint32_t, 0x10FFFF> {};

} // namespace KILN
