#pragma once

#include "kiln/base/TStringPtr.h"

#include <cstdio>
#include <string>

namespace KILN {

// The UTF-8 name the system takes for a UTF-16 path. False for a lone
// surrogate (not representable) and for a zero unit (it would cut the name
// short and name another file).
bool toNativePath(const TStringPtr<unsigned short>& path, std::string& out);

// Opens the file a UTF-16 path names with fopen and the mode given; null
// when the path has no native name or the file cannot be opened.
std::FILE* openNativePath(const TStringPtr<unsigned short>& path, const char* mode);

} // namespace KILN
