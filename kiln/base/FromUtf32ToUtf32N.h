#pragma once

#include "kiln/base/ByteOrderDetectingConverter.h"

namespace KILN {

// Converter: UTF-32 with an optional mark to UTF-32 in machine order.
class FromUtf32ToUtf32N final : public ByteOrderDetectingConverter<unsigned int> {};

} // namespace KILN
