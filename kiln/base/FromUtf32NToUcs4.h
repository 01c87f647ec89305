#pragma once

#include "kiln/base/PassThroughConverter.h"

namespace KILN {

// Converter: UTF-32 to UCS-4: every UTF-32 code point is a UCS-4 value.
class FromUtf32NToUcs4 final : public PassThroughConverter<unsigned int> {};

} // namespace KILN
