#pragma once

#include "kiln/base/TStringPtr.h"

#include <cstdint>
#include <string>

namespace KILN {

// Reads a whole regular file with one open and one status query of the open
// file, so that the file checked is the file read.

enum class FileRead {
    Read,       // bytes hold the whole file
    NotRegular, // the path names nothing or anything but a regular file (nothing read)
    Failed,     // a regular file that could not be opened or read, or is larger than allowed
};

// Reads the file at path (symbolic links followed) into bytes, up to maxBytes;
// a path without a native name (a lone surrogate, a zero unit) names nothing.
// Opening never blocks on a FIFO, which is then refused as not regular.
FileRead readRegularFile(const TStringPtr<unsigned short>& path, std::string& bytes, uint64_t maxBytes);

} // namespace KILN
