#pragma once

#include "kiln/base/PassThroughConverter.h"

namespace KILN {

// Converter: UTF-16 in machine order to UTF-16LE: on this little-endian machine, the same units.
class FromUtf16NToUtf16Le final : public PassThroughConverter<unsigned short> {};

} // namespace KILN
