#pragma once

#include "kiln/base/ByteOrderDetectingConverter.h"

namespace KILN {

// Converter: UTF-16 with an optional mark to UTF-16 in machine order.
class FromUtf16ToUtf16N final : public ByteOrderDetectingConverter<unsigned short> {};

} // namespace KILN
