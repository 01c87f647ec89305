#include "model/EpubUnpacker.h"

#include "kiln/base/Utf8String.h"
#include "kiln/file/FileDescriptor.h"
#include "kiln/file/NativePath.h"
#include "model/ArchiveFile.h"
#include "model/UnpackLimits.h"
#include "model/ZephraModelError.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
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
constexpr uint64_t Zip64ExtraField = 0x0001;
constexpr uint64_t Zip64Placeholder = 0xFFFFFFFF;

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

uint64_t littleEndian(const unsigned char* bytes, int count)
{
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// Takes the sizes that the directory records as 0xFFFFFFFF from the zip64
// extra field, which holds them in that order, each only when its 32-bit
// field is the placeholder: minizip answers the placeholder itself.
void takeZip64Sizes(unz_file_info64& info, const std::vector<unsigned char>& extra)
{
    for (size_t at = 0; at + 4 <= extra.size();) {
        const uint64_t id = littleEndian(&extra[at], 2);
        const size_t length = static_cast<size_t>(littleEndian(&extra[at + 2], 2));
        at += 4;
        if (length > extra.size() - at)
            return;
        if (id == Zip64ExtraField) {
            size_t field = at;
            for (ZPOS64_T* size : {&info.uncompressed_size, &info.compressed_size}) {
                if (*size == Zip64Placeholder && field + 8 <= at + length) {
                    *size = littleEndian(&extra[field], 8);
                    field += 8;
                }
            }
            return;
        }
        at += length;
    }
}

// The stored name of the current entry, whatever its length, and its
// information with the true sizes of a zip64 entry.
std::string entryName(unzFile archive, unz_file_info64& info)
{
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        raiseModelError(4, "Can't get file information from zip file.");
    std::string name(info.size_filename + 1, '\0');
    std::vector<unsigned char> extra(info.size_file_extra);
    if (unzGetCurrentFileInfo64(archive, &info, name.data(), name.size(), extra.data(), extra.size(), nullptr, 0)
        != UNZ_OK)
        raiseModelError(4, "Can't get file information from zip file.");
    name.resize(info.size_filename);
    takeZip64Sizes(info, extra);
    return name;
}

// Splits name into the components of a path below the working directory;
// empty and "." components are dropped. Answers why a name could lead
// elsewhere or does not decode faithfully (a zero byte, a backslash, a
// leading '/', a ".." component, bytes that are not UTF-8), or null.
const char* unsafeName(const std::string& name, std::vector<std::string>& parts)
{
    if (name[0] == '/')
        return "an absolute name";
    if (name.find('\0') != std::string::npos || name.find('\\') != std::string::npos)
        return "a zero byte or a backslash in the name";
    KILN::PathString decoded;
    decoded.assignUtf8(name.c_str());
    std::string encoded;
    if (!KILN::toNativePath(decoded, encoded) || encoded != name)
        return "the name is not UTF-8";
    parts.clear();
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part == "..")
            return "the name leads out of the book";
        if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
    return nullptr;
}

[[noreturn]] void unzipFailed(const std::string& name, const char* reason)
{
    raiseModelError(6, "Can't unzip the file. %s: %s", name.c_str(), reason);
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

// The folder the last file went into, open: the files of a book come folder
// by folder, and each would otherwise walk its folders again.
class LastFolder {
public:
    // The open folder top/parts[0]/.../parts[count - 1], made as
    // openDirectories makes it. Raises error 5.
    int open(int top, const std::vector<std::string>& parts, size_t count)
    {
        if (!m_folder.isOpen() || m_parts.size() != count || !std::equal(m_parts.begin(), m_parts.end(), parts.begin())) {
            m_folder.reset(-1);
            m_parts.assign(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(count));
            m_folder.reset(openDirectories(top, parts, count));
        }
        return m_folder.get();
    }

private:
    std::vector<std::string> m_parts;
    KILN::FileDescriptor m_folder;
};

void extractFile(unzFile archive, const std::string& name, const unz_file_info64& info, int top,
                 const std::string& directory, const std::vector<std::string>& parts, std::vector<char>& buffer,
                 LastFolder& lastFolder)
{
    const int parent = lastFolder.open(top, parts, parts.size() - 1);
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        unzipFailed(name, "an unsupported compression method");
    if (unzOpenCurrentFile(archive) != UNZ_OK)
        unzipFailed(name, "its local header does not match the directory of the archive");
    OpenEntry entry(archive);

    // O_NONBLOCK keeps a FIFO in the way from blocking the open; it is then
    // refused as not a regular file.
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    KILN::FileDescriptor target(openat(parent, parts.back().c_str(), flags, 0666));
    struct stat st;
    if (!target.isOpen() || fstat(target.get(), &st) != 0 || !S_ISREG(st.st_mode))
        raiseModelError(6, "Can't cretate file (%s) when unzip the epub file.", joined(directory, parts).c_str());
    const uint64_t size = info.uncompressed_size;
    uint64_t total = 0;
    for (;;) {
        const int read = unzReadCurrentFile(archive, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (read < 0)
            unzipFailed(name, "its data is damaged");
        if (read == 0)
            break;
        // The limits were held against the recorded sizes: no entry may
        // write more.
        if (static_cast<uint64_t>(read) > size - total)
            unzipFailed(name, "its data goes beyond its recorded size");
        if (!writeAll(target.get(), buffer.data(), static_cast<size_t>(read)))
            raiseModelError(7, "Can't write a file (%s) when unzip the epub file.", joined(directory, parts).c_str());
        total += static_cast<uint64_t>(read);
    }
    // Damaged deflated data can end the stream early without a read error,
    // and minizip checks the CRC only of an entry read to its full size.
    if (total != size)
        unzipFailed(name, "its data ends before its recorded size");
    if (entry.close() != UNZ_OK)
        unzipFailed(name, "its data does not match its checksum");
    if (!target.close())
        raiseModelError(7, "Can't write a file (%s) when unzip the epub file.", joined(directory, parts).c_str());
}

void extractEntry(unzFile archive, int top, const std::string& directory, std::vector<char>& buffer,
                  LastFolder& lastFolder)
{
    unz_file_info64 info;
    const std::string name = entryName(archive, info);
    if (name.empty())
        return;
    const bool folder = name.back() == '/' || name.back() == '\\';
    std::vector<std::string> parts;
    const char* unsafe = unsafeName(name, parts);
    if (!unsafe && isLink(info))
        unsafe = "a symbolic link";
    if (folder) {
        if (unsafe)
            raiseModelError(5, "Can't create directory.");
        ::close(openDirectories(top, parts, parts.size()));
        return;
    }
    if (!unsafe && parts.empty())
        unsafe = "the name names no file";
    if (!unsafe && (info.flag & FlagEncrypted) != 0)
        unsafe = "it is encrypted";
    if (unsafe)
        unzipFailed(name, unsafe);
    extractFile(archive, name, info, top, directory, parts, buffer, lastFolder);
}

// Lists every entry and holds the book to the limits before anything is
// unpacked: minizip never inflates an entry beyond its recorded size.
void checkLimits(unzFile archive, const UnpackLimits& limits, uint64_t archiveSize)
{
    unz_global_info64 global;
    if (unzGetGlobalInfo64(archive, &global) != UNZ_OK)
        raiseModelError(4, "Can't get file information from zip file.");
    UnpackBudget budget(limits, archiveSize);
    budget.announce(global.number_entry);
    int answer = unzGoToFirstFile(archive);
    while (answer == UNZ_OK) {
        unz_file_info64 info;
        entryName(archive, info);
        budget.add(info.uncompressed_size);
        answer = unzGoToNextFile(archive);
    }
    if (answer != UNZ_END_OF_LIST_OF_FILE)
        raiseModelError(4, "Can't get file information from zip file.");
}

} // namespace

void unpackEpub(const KILN::PathString& source, const KILN::PathString& directory, const UnpackLimits& limits)
{
    std::string sourceName;
    struct stat st;
    // Only a regular file can be read as an archive; opening a FIFO would block.
    if (!KILN::toNativePath(source, sourceName) || stat(sourceName.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        raiseModelError(3, "Can't open unzip file. %s", KILN::Utf8String(source).zeroTerminated());
    zlib_filefunc64_def functions = bufferedArchiveFunctions();
    const unzFile opened = unzOpen2_64(sourceName.c_str(), &functions);
    if (!opened)
        raiseModelError(3, "Can't open unzip file. %s", KILN::Utf8String(source).zeroTerminated());
    const Archive archive(opened);
    checkLimits(archive.get(), limits, static_cast<uint64_t>(st.st_size));

    std::string directoryName;
    if (!KILN::toNativePath(directory, directoryName))
        raiseModelError(5, "Can't create directory.");
    const KILN::FileDescriptor top(open(directoryName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top.isOpen())
        raiseModelError(5, "Can't create directory.");

    std::vector<char> buffer(ExtractionBuffer);
    LastFolder lastFolder;
    int answer = unzGoToFirstFile(archive.get());
    while (answer == UNZ_OK) {
        extractEntry(archive.get(), top.get(), directoryName, buffer, lastFolder);
        answer = unzGoToNextFile(archive.get());
    }
    if (answer != UNZ_END_OF_LIST_OF_FILE)
        raiseModelError(4, "Can't get file information from zip file.");
}
