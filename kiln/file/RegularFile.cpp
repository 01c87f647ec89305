#include "kiln/file/RegularFile.h"

#include "kiln/file/FileDescriptor.h"
#include "kiln/file/NativePath.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KILN {

namespace {

// Why a file could not be opened: nothing or no regular file there, or a
// regular file refused (no permission to read it, too many open files).
FileRead openFailure(const std::string& native)
{
    struct stat st;
    return stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? FileRead::Failed : FileRead::NotRegular;
}

} // namespace

bool readOpenFile(int fd, std::string& bytes, uint64_t reported, uint64_t maxBytes)
{
    bytes.resize(static_cast<size_t>(reported < maxBytes ? reported + 1 : maxBytes + 1));
    size_t length = 0;
    for (;;) {
        if (length == bytes.size()) {
            if (length > maxBytes)
                return false;
            const uint64_t grown = length + length / 2 + 4096;
            bytes.resize(static_cast<size_t>(grown < maxBytes + 1 ? grown : maxBytes + 1));
        }
        const ssize_t got = read(fd, bytes.data() + length, bytes.size() - length);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        length += static_cast<size_t>(got);
    }
    if (length > maxBytes)
        return false;
    bytes.resize(length);
    return true;
}

FileRead readRegularFile(const TStringPtr<unsigned short>& path, std::string& bytes, uint64_t maxBytes)
{
    bytes.clear();
    std::string native;
    if (!toNativePath(path, native))
        return FileRead::NotRegular;
    const FileDescriptor file(open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen())
        return openFailure(native);
    struct stat st;
    if (fstat(file.get(), &st) != 0)
        return FileRead::Failed;
    if (!S_ISREG(st.st_mode))
        return FileRead::NotRegular;
    // A lack of memory is no fault of the file: it goes on to the caller.
    if (!readOpenFile(file.get(), bytes, static_cast<uint64_t>(st.st_size), maxBytes)) {
        bytes.clear();
        return FileRead::Failed;
    }
    return FileRead::Read;
}

} // namespace KILN
