#pragma once

#include "kiln/base/TStringPtr.h"

#include <cstdio>
#include <string>

namespace KILN {

// Writes over an existing regular file in place: the file is opened without
// following a link, emptied and written, so no new file is made and none is
// renamed or freed (on a file system that keeps freed inodes aside for a
// while, making and freeing one per file of a large folder dominates the
// time). A failure leaves the file partial: only for the files of a work
// folder that a failed run discards whole; anything else is replaced with a
// ReplacingFile.
class OverwrittenFile {
public:
    explicit OverwrittenFile(const TStringPtr<unsigned short>& path);
    OverwrittenFile(const OverwrittenFile&) = delete;
    OverwrittenFile& operator=(const OverwrittenFile&) = delete;
    ~OverwrittenFile();

    // Opens stream() for binary writing on the emptied file; false when the
    // path names no regular file or it cannot be opened.
    bool open();
    std::FILE* stream() const { return m_stream; }
    // Closes the stream; false when the data could not all be written.
    bool commit();

private:
    std::string m_path;  // native name; empty when the path has none
    std::FILE* m_stream = nullptr;
};

} // namespace KILN
