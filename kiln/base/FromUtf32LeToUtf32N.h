#pragma once

#include "kiln/base/PassThroughConverter.h"

namespace KILN {

// Converter: UTF-32LE to UTF-32 in machine order: on this little-endian machine, the same units.
class FromUtf32LeToUtf32N final : public PassThroughConverter<unsigned int> {};

} // namespace KILN
