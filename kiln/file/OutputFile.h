#pragma once

#include "kiln/file/ReplacingFile.h"

#include <cstdio>
#include <string>

namespace KILN {

// The output file a user names to a program. A regular file, or a name not
// yet in use, is written through a ReplacingFile: it changes only once the
// whole output is written, and a failure leaves it as it was. Anything else
// that exists (a device such as /dev/null or /dev/stdout, a pipe) is written
// through its path, because renaming over it would replace the device entry
// itself. Nothing the run did not create is ever removed.
class OutputFile {
public:
    explicit OutputFile(const std::string& nativePath);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Opens stream() for binary writing; false (with errno set) when the
    // path cannot be written.
    bool open();
    // The open output; null before open and after commit.
    std::FILE* stream() const;
    // Flushes and closes the output and, for a replaced file, renames it
    // into place. False when any data could not be written.
    bool commit();

private:
    std::string m_path;
    ReplacingFile m_replacing;
    std::FILE* m_direct = nullptr;  // the stream when writing through the path
};

} // namespace KILN
