#pragma once

#include "kiln/base/PassThroughConverter.h"

namespace KILN {

// Converter: UTF-16LE to UTF-16 in machine order: on this little-endian machine, the same units.
class FromUtf16LeToUtf16N final : public PassThroughConverter<unsigned short> {};

} // namespace KILN
