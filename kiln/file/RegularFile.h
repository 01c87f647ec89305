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

// Reads the open file fd to its end into bytes, which start with room for the
// size the file reported and one more byte, so that a file of that size ends
// in the second read; one that grew meanwhile is read on, up to maxBytes.
// False on a read error or beyond maxBytes.
bool readOpenFile(int fd, std::string& bytes, uint64_t reported, uint64_t maxBytes);

// Reads the file at path (symbolic links followed; std::bad_alloc raised when
// memory is short) into bytes, up to maxBytes;
// a path without a native name (a lone surrogate, a zero unit) names nothing.
// Opening never blocks on a FIFO, which is then refused as not regular.
FileRead readRegularFile(const TStringPtr<unsigned short>& path, std::string& bytes, uint64_t maxBytes);

} // namespace KILN
