#pragma once

#include "kiln/base/Utf16String.h"

namespace KILN {

// A UTF-16 string that names a file or directory, with the native separator.
class PathString : public Utf16String {
public:
    using Utf16String::Utf16String;
    using Utf16String::operator=;
    PathString() = default;
};

} // namespace KILN
