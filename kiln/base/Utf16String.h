#pragma once

#include "kiln/base/TString.h"

namespace KILN {

// A string of UTF-16 code units in machine order: the library's internal text.
class Utf16String : public TString<unsigned short> {
public:
    using TString<unsigned short>::TString;
    using TString<unsigned short>::operator=;
    Utf16String() = default;
    Utf16String(const TString<unsigned short>& other) : TString<unsigned short>(other) {}
    // Decodes zero-terminated UTF-8 (an optional leading byte-order mark is
    // dropped).
    Utf16String(const char* utf8);
};

} // namespace KILN
