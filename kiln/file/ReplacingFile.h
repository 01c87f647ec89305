#pragma once

#include "kiln/base/TStringPtr.h"

#include <cstdio>
#include <string>

namespace KILN {

// Writes a file so that its destination changes only once the whole file is
// written: the data goes to a new temporary file beside the destination, which
// commit renames over it. Until then an existing destination stays untouched,
// and a failure or an uncommitted destruction leaves no partial file. A
// destination that is a symbolic link has its target replaced (the link
// stays); one that exists as anything but a regular file (a directory, a
// device) is refused. A link of /proc whose text names no path (standard
// output on a pipe or on a deleted file: "pipe:[12]", "/x (deleted)") is
// written through instead, never renamed over. A replaced file keeps its
// permissions; a new one gets those the umask leaves of 0666.
class ReplacingFile {
public:
    // How a committed file is made to last.
    enum class Durability {
        Synced,  // its data, and then the rename, flushed to disk by commit
        Scratch, // a file of a work folder, worthless after a crash: not flushed
    };

    explicit ReplacingFile(const TStringPtr<unsigned short>& destination, Durability durability = Durability::Synced);
    // The same for a native name, such as a program's argument.
    explicit ReplacingFile(const std::string& nativeDestination, Durability durability = Durability::Synced);
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~ReplacingFile();

    // Creates the temporary file (exclusively, never through an existing
    // name) and opens stream() on it for binary writing. False when the
    // destination is refused or the temporary file cannot be made.
    bool open();
    // The open temporary file; null before open and after commit.
    std::FILE* stream() const { return m_stream; }
    // The temporary file's native name, for writers that open it by name
    // themselves (close stream() first with closeStream).
    const std::string& temporaryName() const { return m_temporary; }
    // Closes stream(); false when buffered data could not be written.
    bool closeStream();
    // Closes the stream if still open, flushes the data to disk (when synced)
    // and renames the temporary file over the destination. False on any
    // failure, after which the temporary file is gone and the destination
    // untouched.
    bool commit();

private:
    std::string m_destination;  // native name of the file to replace, links resolved
    std::string m_temporary;    // native name of the temporary file; empty when none
    std::FILE* m_stream = nullptr;
    bool m_valid = false;       // the destination had a native name
    bool m_through = false;     // written through m_destination, which m_temporary names too
    Durability m_durability;
};

} // namespace KILN
