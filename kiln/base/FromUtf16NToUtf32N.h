#pragma once

#include "kiln/base/FromUtf16NToUcs4.h"

namespace KILN {

// Converter: UTF-16 in machine order to UTF-32 in machine order, as to UCS-4.
class FromUtf16NToUtf32N final : public FromUtf16NToUcs4 {};

} // namespace KILN
