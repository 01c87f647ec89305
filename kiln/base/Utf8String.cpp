#include "kiln/base/Utf8String.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/StringConversion.h"

namespace KILN {

Utf8String::Utf8String(const Utf16String& text)
{
    convertEncoding(text, EncodingRegistry::Utf16, EncodingRegistry::Utf8N, *this);
}

} // namespace KILN
