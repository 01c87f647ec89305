#pragma once

#include "kiln/base/MarkDroppingConverter.h"

namespace KILN {

// Converter: UTF-8 with an optional mark to UTF-8 without it.
class FromUtf8ToUtf8N final : public MarkDroppingConverter<char, '\xEF', '\xBB', '\xBF'> {};

} // namespace KILN
