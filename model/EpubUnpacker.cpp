#include "model/EpubUnpacker.h"

#include "kiln/base/Utf8String.h"
#include "kiln/file/FileDescriptor.h"
#include "kiln/file/NativePath.h"
#include "model/ArchiveFile.h"
#include "model/EntryInflater.h"
#include "model/UnpackLimits.h"
#include "model/WorkerCount.h"
#include "model/ZephraModelError.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <deque>
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
//
// Plain files are read raw from the archive and inflated ahead, on an
// EntryInflater's threads where more than one thread may work, then written
// in entry order; any other entry, and any failure, waits until the entries
// before it are written, so that what is written and what fails is just as
// in an extraction that streams each entry in turn.

namespace {

using Fault = EntryInflater::Fault;

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
bool writeAll(int fd, const unsigned char* data, size_t size)
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

const char* reasonOf(Fault fault)
{
    switch (fault) {
    case Fault::Damaged:
        return "its data is damaged";
    case Fault::EndsEarly:
        return "its data ends before its recorded size";
    case Fault::BadChecksum:
        return "its data does not match its checksum";
    case Fault::None:
        break;
    }
    return nullptr;
}

// An entry as listed, with what its name and kind allow.
struct ListedEntry {
    std::string name;
    unz_file_info64 info;
    std::vector<std::string> parts;
    bool folder = false;
    // Why the entry is refused, or null.
    const char* unsafe = nullptr;

    // A file that may be written: not skipped, not a folder, not refused.
    bool isFile() const { return !name.empty() && !folder && !unsafe; }
};

ListedEntry listedEntry(unzFile archive)
{
    ListedEntry entry;
    entry.name = entryName(archive, entry.info);
    if (entry.name.empty())
        return entry;
    entry.folder = entry.name.back() == '/' || entry.name.back() == '\\';
    entry.unsafe = unsafeName(entry.name, entry.parts);
    if (!entry.unsafe && isLink(entry.info))
        entry.unsafe = "a symbolic link";
    if (!entry.folder && !entry.unsafe && entry.parts.empty())
        entry.unsafe = "the name names no file";
    if (!entry.folder && !entry.unsafe && (entry.info.flag & FlagEncrypted) != 0)
        entry.unsafe = "it is encrypted";
    return entry;
}

// The folders below the working directory that files are written in. The
// last one stays open for the next file, which mostly shares it: this run
// made it, and nothing an entry makes can put anything else in its place.
class Folders {
public:
    explicit Folders(int top) : m_top(top) {}

    int top() const { return m_top; }

    // The folder of the file named by parts, made where missing. Raises
    // error 5.
    int parentOf(const std::vector<std::string>& parts)
    {
        const size_t count = parts.size() - 1;
        if (m_parent.isOpen() && m_parts.size() == count && std::equal(m_parts.begin(), m_parts.end(), parts.begin()))
            return m_parent.get();
        m_parent.reset(-1);
        m_parent.reset(openDirectories(m_top, parts, count));
        m_parts.assign(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(count));
        return m_parent.get();
    }

private:
    const int m_top;
    KILN::FileDescriptor m_parent;
    std::vector<std::string> m_parts;
};

// The file an entry is written to, created below the working directory.
class TargetFile {
public:
    TargetFile(Folders& folders, const std::string& directory, const std::vector<std::string>& parts)
        : m_parent(folders.parentOf(parts)), m_directory(directory), m_parts(parts)
    {
    }

    // Creates the file. O_NONBLOCK keeps a FIFO in the way from blocking the
    // open; it is then refused as not a regular file.
    void create()
    {
        const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        m_file.reset(openat(m_parent, m_parts.back().c_str(), flags, 0666));
        struct stat st;
        if (!m_file.isOpen() || fstat(m_file.get(), &st) != 0 || !S_ISREG(st.st_mode))
            raiseModelError(6, "Can't cretate file (%s) when unzip the epub file.", path().c_str());
    }

    void write(const unsigned char* data, size_t size)
    {
        if (!writeAll(m_file.get(), data, size))
            writeFailed();
    }

    void close()
    {
        if (!m_file.close())
            writeFailed();
    }

private:
    std::string path() const { return joined(m_directory, m_parts); }
    [[noreturn]] void writeFailed() const
    {
        raiseModelError(7, "Can't write a file (%s) when unzip the epub file.", path().c_str());
    }

    const int m_parent;
    const std::string& m_directory;
    const std::vector<std::string>& m_parts;
    KILN::FileDescriptor m_file;
};

bool supportedMethod(const unz_file_info64& info)
{
    return info.compression_method == 0 || info.compression_method == Z_DEFLATED;
}

// Extracts the current entry, a file, streaming it through buffer.
void streamFile(unzFile archive, const ListedEntry& entry, Folders& folders, const std::string& directory,
                std::vector<unsigned char>& buffer)
{
    TargetFile target(folders, directory, entry.parts);
    if (!supportedMethod(entry.info))
        unzipFailed(entry.name, "an unsupported compression method");
    if (unzOpenCurrentFile(archive) != UNZ_OK)
        unzipFailed(entry.name, "its local header does not match the directory of the archive");
    OpenEntry open(archive);
    target.create();
    const uint64_t size = entry.info.uncompressed_size;
    uint64_t total = 0;
    for (;;) {
        const int read = unzReadCurrentFile(archive, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (read < 0)
            unzipFailed(entry.name, reasonOf(Fault::Damaged));
        if (read == 0)
            break;
        // The limits were held against the recorded sizes: no entry may
        // write more.
        if (static_cast<uint64_t>(read) > size - total)
            unzipFailed(entry.name, "its data goes beyond its recorded size");
        target.write(buffer.data(), static_cast<size_t>(read));
        total += static_cast<uint64_t>(read);
    }
    // Damaged deflated data can end the stream early without a read error,
    // and minizip checks the CRC only of an entry read to its full size.
    if (total != size)
        unzipFailed(entry.name, reasonOf(Fault::EndsEarly));
    if (open.close() != UNZ_OK)
        unzipFailed(entry.name, reasonOf(Fault::BadChecksum));
    target.close();
}

// Extracts the current entry the streaming way.
void extractEntry(unzFile archive, const ListedEntry& entry, Folders& folders, const std::string& directory,
                  std::vector<unsigned char>& buffer)
{
    if (entry.name.empty())
        return;
    if (entry.folder) {
        if (entry.unsafe)
            raiseModelError(5, "Can't create directory.");
        ::close(openDirectories(folders.top(), entry.parts, entry.parts.size()));
        return;
    }
    if (entry.unsafe)
        unzipFailed(entry.name, entry.unsafe);
    streamFile(archive, entry, folders, directory, buffer);
}

// Reads the current entry, a file, raw into stored; false when it is to be
// streamed instead: too large to hold, or anything about it fails, which
// streaming then reports as it would.
bool readRaw(unzFile archive, const ListedEntry& entry, EntryInflater::Stored& stored)
{
    const unz_file_info64& info = entry.info;
    if (!supportedMethod(info) || info.uncompressed_size > EntryInflater::MaxEntryBytes
        || info.compressed_size > EntryInflater::MaxEntryBytes)
        return false;
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(archive, &method, &level, 1) != UNZ_OK)
        return false;
    OpenEntry open(archive);
    // One byte beyond the recorded size shows minizip reading more than
    // that; such an entry is left to streaming.
    stored.raw.resize(static_cast<size_t>(info.compressed_size) + 1);
    size_t length = 0;
    for (int read = 1; read > 0 && length < stored.raw.size(); length += static_cast<size_t>(read)) {
        read = unzReadCurrentFile(archive, stored.raw.data() + length, static_cast<unsigned>(stored.raw.size() - length));
        if (read < 0)
            return false;
    }
    if (length != info.compressed_size)
        return false;
    stored.raw.resize(length);
    stored.deflated = info.compression_method == Z_DEFLATED;
    stored.size = info.uncompressed_size;
    stored.crc = static_cast<uint32_t>(info.crc);
    return true;
}

// Extracts the entries in archive order through an inflater: on its threads
// where there are more than one to work, else on this one, which inflates a
// held entry whole all the same (faster than streaming it).
class Extraction {
public:
    Extraction(unzFile archive, int top, const std::string& directory)
        : m_archive(archive), m_folders(top), m_directory(directory), m_buffer(EntryInflater::ReadBuffer),
          m_inflater(workerCount() > 1 ? workerCount() : 0)
    {
    }

    // Extracts the current entry, or reads it ahead for the inflater.
    void extractCurrent()
    {
        ListedEntry entry = listedEntry(m_archive);
        if (entry.isFile()) {
            EntryInflater::Stored stored;
            if (readRaw(m_archive, entry, stored)) {
                while (m_inflater.full())
                    writeOldest();
                m_inflater.add(std::move(stored));
                m_held.push_back(std::move(entry));
                return;
            }
        }
        finish();
        extractEntry(m_archive, entry, m_folders, m_directory, m_buffer);
    }

    // Writes the entries read ahead; the first that fails raises its error.
    void finish()
    {
        while (!m_held.empty())
            writeOldest();
    }

private:
    void writeOldest()
    {
        const ListedEntry entry = std::move(m_held.front());
        m_held.pop_front();
        try {
            const EntryInflater::Unpacked unpacked = m_inflater.takeOldest();
            TargetFile target(m_folders, m_directory, entry.parts);
            target.create();
            target.write(unpacked.data.data(), unpacked.data.size());
            if (unpacked.fault != Fault::None)
                unzipFailed(entry.name, reasonOf(unpacked.fault));
            target.close();
        } catch (...) {
            // Extraction ends at the first entry that fails.
            m_held.clear();
            throw;
        }
    }

    const unzFile m_archive;
    Folders m_folders;
    const std::string& m_directory;
    std::vector<unsigned char> m_buffer;
    EntryInflater m_inflater;
    std::deque<ListedEntry> m_held;  // read ahead, not yet written
};

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

    Extraction extraction(archive.get(), top.get(), directoryName);
    try {
        int answer = unzGoToFirstFile(archive.get());
        while (answer == UNZ_OK) {
            extraction.extractCurrent();
            answer = unzGoToNextFile(archive.get());
        }
        if (answer != UNZ_END_OF_LIST_OF_FILE)
            raiseModelError(4, "Can't get file information from zip file.");
    } catch (const ZephraModelError&) {
        // An entry read ahead that fails fails first.
        extraction.finish();
        throw;
    }
    extraction.finish();
}
