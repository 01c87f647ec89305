#pragma once

#include "kiln/base/CopyingConverter.h"

namespace KILN {

// Converter: Any ISO 8859 part to US-ASCII; bytes with the top bit set are skipped.
class From8859_xToUsAscii final : public CopyingConverter<char, uint8_t, 0x7F> {};

} // namespace KILN
