#pragma once

#include "kiln/base/TString.h"
#include "kiln/base/Utf16String.h"

namespace KILN {

// A byte string whose bytes are UTF-8.
class Utf8String : public TString<char> {
public:
    using TString<char>::TString;
    using TString<char>::operator=;
    Utf8String() = default;
    Utf8String(const TString<char>& other) : TString<char>(other) {}
    // Encodes UTF-16 text (a leading byte-order mark is consumed and selects
    // the byte order) as UTF-8 without a mark.
    Utf8String(const Utf16String& text);
};

} // namespace KILN
