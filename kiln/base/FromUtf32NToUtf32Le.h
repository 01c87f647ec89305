#pragma once

#include "kiln/base/PassThroughConverter.h"

namespace KILN {

// Converter: UTF-32 in machine order to UTF-32LE: on this little-endian machine, the same units.
class FromUtf32NToUtf32Le final : public PassThroughConverter<unsigned int> {};

} // namespace KILN
