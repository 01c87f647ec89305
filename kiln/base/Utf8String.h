#pragma once

#include "kiln/base/TString.h"

namespace KILN {

// A byte string whose bytes are UTF-8.
class Utf8String : public TString<char> {
public:
    using TString<char>::TString;
    using TString<char>::operator=;
    Utf8String() = default;
    Utf8String(const TString<char>& other) : TString<char>(other) {}
};

} // namespace KILN
