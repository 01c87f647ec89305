#pragma once

#include "kiln/base/CopyingConverter.h"

namespace KILN {

// Converter: UCS-4 to US-ASCII; values above 7F are skipped.
class FromUcs4ToUsAscii final : public CopyingConverter<char, uint32_t, 0x7F> {};

} // namespace KILN
