#pragma once

#include "kiln/base/PassThroughConverter.h"

namespace KILN {

// Converter: UCS-2 to UTF-16: every UCS-2 unit is a UTF-16 unit.
class FromUcs2ToUtf16N final : public PassThroughConverter<unsigned short> {};

} // namespace KILN
