#include "kiln/base/Utf16String.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/StringConversion.h"

namespace KILN {

Utf16String::Utf16String(const char* utf8)
{
    const uint32_t length = utf8 ? TString<char>::zeroTerminatedLength(utf8) : 0;
    convertEncoding(utf8, length, EncodingRegistry::Utf8, EncodingRegistry::Utf16N, *this);
}

} // namespace KILN
