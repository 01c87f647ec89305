#include "model/EpubUnpacker.h"

#include "kiln/base/Utf8String.h"
#include "kiln/file/FileDescriptor.h"
#include "kiln/file/NativePath.h"
#include "model/ZephraModelError.h"

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

// Each entry is checked before anything of it is written: its name must be
// UTF-8 that stays below the working directory, and it must not be a link
// or encrypted. Directories are then made and entered one component at a
// time relative to an open directory, and the file is opened there without
// following a link, so nothing planted in the tree can lead a write outside.

namespace {

constexpr size_t ExtractionBuffer = 8192;
constexpr unsigned HostUnix = 3;
constexpr unsigned HostDarwin = 19;
constexpr unsigned long FlagEncrypted = 1;

// Closes the archive on every path out.
class Archive {
public:
    explicit Archive(unzFile file) : m_file(file) {}
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive() { unzClose(m_file); }
    unzFile get() const { return m_file; }

private:
    unzFile m_file;
};

// The entry opened for reading; closed on every path out, so that the
// archive never holds a dangling open entry.
class OpenEntry {
public:
    explicit OpenEntry(unzFile file) : m_file(file) {}
    OpenEntry(const OpenEntry&) = delete;
    OpenEntry& operator=(const OpenEntry&) = delete;
    ~OpenEntry()
    {
        if (m_file)
            unzCloseCurrentFile(m_file);
    }
    // Closes the entry; minizip checks the CRC of a completely read entry here.
    int close()
    {
        const int answer = unzCloseCurrentFile(m_file);
        m_file = nullptr;
        return answer;
    }

private:
    unzFile m_file;
};

// The stored name of the current entry, whatever its length.
std::string entryName(unzFile archive, unz_file_info64& info)
{
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        raiseModelError(4, "Can't get file information from zip file.");
    std::string name(info.size_filename + 1, '\0');
    if (unzGetCurrentFileInfo64(archive, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) != UNZ_OK)
        raiseModelError(4, "Can't get file information from zip file.");
    name.resize(info.size_filename);
    return name;
}

// Splits name into the components of a path below the working directory;
// empty and "." components are dropped. False for a name that could lead
// elsewhere or that does not decode faithfully: a zero byte, a backslash, a
// leading '/', a ".." component, or bytes that are not UTF-8.
bool safeComponents(const std::string& name, std::vector<std::string>& parts)
{
    if (name[0] == '/' || name.find('\0') != std::string::npos ||
        name.find('\\') != std::string::npos)
        return false;
    KILN::PathString decoded;
    decoded.assignUtf8(name.c_str());
    std::string encoded;
    if (!KILN::toNativePath(decoded, encoded) || encoded != name)
        return false;
    parts.clear();
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part == "..")
            return false;
        if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
    return true;
}

bool isLink(const unz_file_info64& info)
{
    const unsigned host = (info.version >> 8) & 0xFF;
    return (host == HostUnix || host == HostDarwin) && S_ISLNK((info.external_fa >> 16) & 0xFFFF);
}

// Opens the directory top/parts[0]/.../parts[count - 1], making what is
// missing; a component that exists as anything but a directory (a link
// included) fails. Raises error 5.
int openDirectories(int top, const std::vector<std::string>& parts, size_t count)
{
    KILN::FileDescriptor current(fcntl(top, F_DUPFD_CLOEXEC, 0));
    for (size_t i = 0; i < count && current.isOpen(); ++i) {
        const char* part = parts[i].c_str();
        if (mkdirat(current.get(), part, 0777) != 0 && errno != EEXIST)
            raiseModelError(5, "Can't create directory.");
        current.reset(openat(current.get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    if (!current.isOpen())
        raiseModelError(5, "Can't create directory.");
    return current.release();
}

std::string joined(const std::string& directory, const std::vector<std::string>& parts)
{
    std::string path = directory;
    for (const std::string& part : parts)
        path += "/" + part;
    return path;
}

// Writes all of data; false when the system stores less.
bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void extractFile(unzFile archive, uint64_t size, int top, const std::string& directory,
                 const std::vector<std::string>& parts, std::vector<char>& buffer)
{
    const KILN::FileDescriptor parent(openDirectories(top, parts, parts.size() - 1));
    if (unzOpenCurrentFile(archive) != UNZ_OK)
        raiseModelError(6, "Can't unzip the file.");
    OpenEntry entry(archive);

    // O_NONBLOCK keeps a FIFO in the way from blocking the open; it is then
    // refused as not a regular file.
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    KILN::FileDescriptor target(openat(parent.get(), parts.back().c_str(), flags, 0666));
    struct stat st;
    if (!target.isOpen() || fstat(target.get(), &st) != 0 || !S_ISREG(st.st_mode))
        raiseModelError(6, "Can't cretate file (%s) when unzip the epub file.", joined(directory, parts).c_str());
    uint64_t total = 0;
    for (;;) {
        const int read = unzReadCurrentFile(archive, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (read < 0)
            raiseModelError(6, "Can't unzip the file.");
        if (read == 0)
            break;
        if (!writeAll(target.get(), buffer.data(), static_cast<size_t>(read)))
            raiseModelError(7, "Can't write a file (%s) when unzip the epub file.", joined(directory, parts).c_str());
        total += static_cast<uint64_t>(read);
    }
    // Damaged deflated data can end the stream early without a read error,
    // and minizip checks the CRC only of an entry read to its full size.
    if (total != size || entry.close() != UNZ_OK)
        raiseModelError(6, "Can't unzip the file.");
    if (!target.close())
        raiseModelError(7, "Can't write a file (%s) when unzip the epub file.", joined(directory, parts).c_str());
}

void extractEntry(unzFile archive, int top, const std::string& directory, std::vector<char>& buffer)
{
    unz_file_info64 info;
    const std::string name = entryName(archive, info);
    if (name.empty())
        return;
    const bool folder = name.back() == '/' || name.back() == '\\';
    std::vector<std::string> parts;
    const bool safe = safeComponents(name, parts) && !isLink(info);
    if (folder) {
        if (!safe)
            raiseModelError(5, "Can't create directory.");
        ::close(openDirectories(top, parts, parts.size()));
        return;
    }
    if (!safe || parts.empty() || (info.flag & FlagEncrypted) != 0)
        raiseModelError(6, "Can't unzip the file.");
    extractFile(archive, info.uncompressed_size, top, directory, parts, buffer);
}

} // namespace

void unpackEpub(const KILN::PathString& source, const KILN::PathString& directory)
{
    std::string sourceName;
    struct stat st;
    // Only a regular file can be read as an archive; opening a FIFO would block.
    if (!KILN::toNativePath(source, sourceName) || stat(sourceName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        raiseModelError(3, "Can't open unzip file. %s", KILN::Utf8String(source).zeroTerminated());
    const unzFile opened = unzOpen64(sourceName.c_str());
    if (!opened)
        raiseModelError(3, "Can't open unzip file. %s", KILN::Utf8String(source).zeroTerminated());
    const Archive archive(opened);

    std::string directoryName;
    if (!KILN::toNativePath(directory, directoryName))
        raiseModelError(5, "Can't create directory.");
    const KILN::FileDescriptor top(open(directoryName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top.isOpen())
        raiseModelError(5, "Can't create directory.");

    std::vector<char> buffer(ExtractionBuffer);
    int answer = unzGoToFirstFile(archive.get());
    while (answer == UNZ_OK) {
        extractEntry(archive.get(), top.get(), directoryName, buffer);
        answer = unzGoToNextFile(archive.get());
    }
    if (answer != UNZ_END_OF_LIST_OF_FILE)
        raiseModelError(4, "Can't get file information from zip file.");
}
