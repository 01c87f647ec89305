#pragma once

#include "kiln/base/TStringPtr.h"

#include <cstdio>
#include <string>

namespace KILN {

// Writes over an existing regular file in place: the file is opened without
// following a link, written from its start and cut to the new length, so no
// new file is made and none is renamed or freed (on a file system that keeps
// freed inodes aside for a while, making and freeing one per file of a large
// folder dominates the time). It is not emptied first: a file system may
// take a file emptied and written again for one being replaced and write it
// to disk on close, which makes the writing and the later removal of a work
// folder slow. A failure leaves the file partial: only for the files of a
// work folder that a failed run discards whole; anything else is replaced
// with a ReplacingFile.
class OverwrittenFile {
public:
    explicit OverwrittenFile(const TStringPtr<unsigned short>& path);
    OverwrittenFile(const OverwrittenFile&) = delete;
    OverwrittenFile& operator=(const OverwrittenFile&) = delete;
    ~OverwrittenFile();

    // Opens stream() for binary writing at the file's start; false when the
    // path names no regular file or it cannot be opened.
    bool open();
    std::FILE* stream() const { return m_stream; }
    // Cuts the file after what was written and closes the stream; false when
    // the data could not all be written.
    bool commit();

private:
    std::string m_path;  // native name; empty when the path has none
    std::FILE* m_stream = nullptr;
};

} // namespace KILN
