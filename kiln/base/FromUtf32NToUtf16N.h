#pragma once

#include "kiln/base/FromUcs4ToUtf16N.h"

namespace KILN {

// Converter: UTF-32 in machine order to UTF-16 in machine order, as from UCS-4.
class FromUtf32NToUtf16N final : public FromUcs4ToUtf16N {};

} // namespace KILN
