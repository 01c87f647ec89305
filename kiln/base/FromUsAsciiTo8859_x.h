#pragma once

#include "kiln/base/PassThroughConverter.h"

namespace KILN {

// Converter: US-ASCII to any ISO 8859 part, which all contain ASCII.
class FromUsAsciiTo8859_x final : public PassThroughConverter<char> {};

} // namespace KILN
