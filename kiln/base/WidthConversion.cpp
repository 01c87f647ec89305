#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/StringConversion.h"
#include "kiln/base/Utf16String.h"

namespace KILN {

void convertWidth(const TString<unsigned int>& codePoints, TString<char>& utf8)
{
    // Through UTF-16 with surrogate pairs: the registry's direct chain from
    // ucs4 narrows to UCS-2 first and would lose every character above U+FFFF.
    Utf16String utf16;
    convertEncoding(codePoints, EncodingRegistry::Ucs4, EncodingRegistry::Utf16N, utf16);
    convertEncoding(utf16, EncodingRegistry::Utf16N, EncodingRegistry::Utf8N, utf8);
}

void convertWidth(const TString<char>& utf8, TString<unsigned int>& codePoints)
{
    convertEncoding(utf8, EncodingRegistry::Utf8N, EncodingRegistry::Ucs4, codePoints);
}

} // namespace KILN
