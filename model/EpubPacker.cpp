#include "model/EpubPacker.h"

#include "kiln/base/Utf8String.h"
#include "kiln/file/Directory.h"
#include "kiln/file/FileDescriptor.h"
#include "kiln/file/NativePath.h"
#include "kiln/file/ReplacingFile.h"
#include "model/ArchiveFile.h"
#include "model/EntryDeflater.h"
#include "model/ZephraModelError.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <deque>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

// The packing root is found breadth first, so the shallowest "mimetype"
// decides it. Its "mimetype" goes first and stored; then every file below the
// root follows in name order, a folder's files at the place of the folder's
// name. Files are deflated ahead on the machine's cores and written in that
// order. The archive goes into a temporary file beside the destination, which
// takes the destination's place only after minizip closed it successfully.

namespace {

constexpr size_t PackingBuffer = 16384;
// The usual level: files held whole are deflated by EntryDeflater at it, the
// few too large to hold by minizip's zlib.
constexpr int DeflateLevel = 6;
constexpr uint64_t Zip64Size = 0xFFFFFFFF;
constexpr unsigned long FlagUtf8Name = 0x800;
// Host system 3 (Unix) in the high byte, format version 2.0 in the low one.
constexpr uLong VersionMadeByUnix = 3 << 8 | 20;
const std::string MimetypeName = "mimetype";

// Closes the archive on every path out; close reports minizip's answer.
class Archive {
public:
    explicit Archive(zipFile file) : m_file(file) {}
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive()
    {
        if (m_file)
            zipClose(m_file, nullptr);
    }
    zipFile get() const { return m_file; }
    int close()
    {
        const int answer = zipClose(m_file, nullptr);
        m_file = nullptr;
        return answer;
    }

private:
    zipFile m_file;
};

std::string utf8(const KILN::PathString& path)
{
    KILN::Utf8String text(path);
    return std::string(text.zeroTerminated(), text.length());
}

// A symbolic link is neither: it is never followed.
bool isFolder(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The shallowest folder holding a "mimetype" file; a folder's own files are
// looked at before any folder below it.
std::string findRoot(const std::string& top)
{
    std::deque<std::string> folders{top};
    std::vector<std::string> names;
    while (!folders.empty()) {
        const std::string folder = folders.front();
        folders.pop_front();
        if (!KILN::Directory::listNames(folder, names))
            raiseModelError(25, "Can't read '%s' directory.", folder.c_str());
        if (std::binary_search(names.begin(), names.end(), MimetypeName) && isFile(folder + "/" + MimetypeName))
            return folder;
        for (const std::string& name : names) {
            if (isFolder(folder + "/" + name))
                folders.push_back(folder + "/" + name);
        }
    }
    raiseModelError(24, "Can't find the 'mimetype' file in %s.", top.c_str());
}

// The MS-DOS date and time of a modification time in local time, held
// within the years the format can express.
uLong dosDate(time_t modified)
{
    struct tm local;
    if (!localtime_r(&modified, &local))
        return 0;
    const int year = local.tm_year + 1900;
    if (year < 1980)
        return 1u << 21 | 1u << 16;  // 1980-01-01 00:00:00
    if (year > 2107)
        return 127u << 25 | 12u << 21 | 31u << 16 | 23u << 11 | 59u << 5 | 29u;
    return static_cast<uLong>(year - 1980) << 25 | static_cast<uLong>(local.tm_mon + 1) << 21 |
           static_cast<uLong>(local.tm_mday) << 16 | static_cast<uLong>(local.tm_hour) << 11 |
           static_cast<uLong>(local.tm_min) << 5 | static_cast<uLong>(local.tm_sec / 2);
}

bool isAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The diagnostic of a failed step, which goes into the text of error 25.
bool failed(std::string& problem, const char* what, const std::string& path)
{
    problem = what + (" " + path);
    return false;
}

// Opens entry name for the file at path of status st: stored at level 0,
// deflated at any other level; raw when the data comes deflated already.
// Sets problem to what failed and answers false.
bool openEntry(zipFile archive, const std::string& path, const std::string& name, const struct stat& st, int level,
               bool raw, std::string& problem)
{
    zip_fileinfo info = {};
    info.dosDate = dosDate(st.st_mtime);
    // Made on Unix, with the file's permissions: extractors then take the
    // name's bytes as they are and give the file its mode back.
    info.external_fa = static_cast<uLong>(S_IFREG | (st.st_mode & 0777)) << 16;
    const int zip64 = static_cast<uint64_t>(st.st_size) >= Zip64Size ? 1 : 0;
    const unsigned long flags = isAscii(name) ? 0 : FlagUtf8Name;
    if (zipOpenNewFileInZip4_64(archive, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                level != 0 ? Z_DEFLATED : 0, level, raw ? 1 : 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                Z_DEFAULT_STRATEGY, nullptr, 0, VersionMadeByUnix, flags, zip64) != ZIP_OK)
        return failed(problem, "error in opening", path + " in zipfile");
    return true;
}

// Adds the file at path as entry name, read and deflated as it is written.
bool addFile(zipFile archive, const std::string& path, const std::string& name, int level, std::vector<char>& buffer,
             std::string& problem)
{
    // A link is not followed, and O_NONBLOCK keeps a FIFO from blocking
    // the open before it is refused as not a regular file.
    const KILN::FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!file.isOpen() || fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return failed(problem, "error in opening", path + " for reading");
    if (!openEntry(archive, path, name, st, level, false, problem))
        return false;
    for (;;) {
        const ssize_t got = read(file.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(problem, "error in reading", path);
        if (got == 0)
            break;
        if (zipWriteInFileInZip(archive, buffer.data(), static_cast<unsigned>(got)) < 0)
            return failed(problem, "error in writing", path + " in the zipfile");
    }
    if (zipCloseFileInZip(archive) != ZIP_OK)
        return failed(problem, "error in closing", path + " in the zipfile");
    return true;
}

// Adds the file at path as entry name from its deflated data.
bool addDeflated(zipFile archive, const std::string& path, const std::string& name, int level,
                 const EntryDeflater::Deflated& file, std::string& problem)
{
    if (!openEntry(archive, path, name, file.status, level, true, problem))
        return false;
    if (!file.data.empty() && zipWriteInFileInZip(archive, file.data.data(), static_cast<unsigned>(file.data.size())) < 0)
        return failed(problem, "error in writing", path + " in the zipfile");
    if (zipCloseFileInZipRaw64(archive, file.size, file.crc) != ZIP_OK)
        return failed(problem, "error in closing", path + " in the zipfile");
    return true;
}

// A file to add below the root, or a folder that could not be listed (the
// last item then: packing stops there).
struct PackedItem {
    std::string path;
    std::string entry;
    bool topLevel = false;
    bool unlisted = false;
};

// Lists every file below folder, whose entry names start with prefix (empty
// for the root, whose "mimetype" is already in), in the order they are added.
bool listFolder(const std::string& folder, const std::string& prefix, std::vector<PackedItem>& items)
{
    std::vector<std::string> names;
    if (!KILN::Directory::listNames(folder, names)) {
        items.push_back({folder, std::string(), false, true});
        return false;
    }
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        const std::string entry = prefix.empty() ? name : prefix + "/" + name;
        if (isFolder(path)) {
            if (!listFolder(path, entry, items))
                return false;
        } else if (!(prefix.empty() && name == MimetypeName)) {
            items.push_back({path, entry, prefix.empty(), false});
        }
    }
    return true;
}

// Adds the files below the root, deflated ahead on the machine's cores.
void addFolder(zipFile archive, const std::string& root, const std::string& destination, std::vector<char>& buffer)
{
    std::vector<PackedItem> items;
    listFolder(root, "", items);
    std::vector<std::string> files;
    for (const PackedItem& item : items) {
        if (!item.unlisted)
            files.push_back(item.path);
    }
    EntryDeflater deflater(std::move(files), DeflateLevel);
    size_t fileIndex = 0;
    for (const PackedItem& item : items) {
        if (item.unlisted)
            raiseModelError(25, "Can't read '%s' directory.", item.path.c_str());
        EntryDeflater::Deflated deflated;
        std::string problem;
        const bool added = deflater.take(fileIndex++, deflated)
                               ? addDeflated(archive, item.path, item.entry, DeflateLevel, deflated, problem)
                               : addFile(archive, item.path, item.entry, DeflateLevel, buffer, problem);
        if (added)
            continue;
        if (item.topLevel)
            raiseModelError(25, "Can't append '%s' to '%s'. %s", item.entry.c_str(), destination.c_str(),
                            problem.c_str());
        raiseModelError(25, "Can't append '%s' to the output epub '%s'. %s", item.entry.c_str(), destination.c_str(),
                        problem.c_str());
    }
}

} // namespace

void packEpub(const KILN::PathString& directory, const KILN::PathString& destination)
{
    std::string top;
    if (!KILN::toNativePath(directory, top))
        raiseModelError(24, "Can't find the 'mimetype' file in %s.", utf8(directory).c_str());
    const std::string root = findRoot(top);

    const std::string destinationText = utf8(destination);
    KILN::ReplacingFile output(destination);
    if (!output.open() || !output.closeStream())
        raiseModelError(26, "Can't create the output epub file. '%s'", destinationText.c_str());
    zlib_filefunc64_def functions = bufferedArchiveFunctions();
    Archive archive(zipOpen2_64(output.temporaryName().c_str(), APPEND_STATUS_CREATE, nullptr, &functions));
    if (!archive.get())
        raiseModelError(26, "Can't create the output epub file. '%s'", destinationText.c_str());

    std::vector<char> buffer(PackingBuffer);
    std::string problem;
    if (!addFile(archive.get(), root + "/" + MimetypeName, MimetypeName, 0, buffer, problem))
        raiseModelError(25, "Can't append 'mimetype' to '%s'. %s", destinationText.c_str(), problem.c_str());
    addFolder(archive.get(), root, destinationText, buffer);
    // Only a complete archive may take the destination's place.
    if (archive.close() != ZIP_OK || !output.commit())
        raiseModelError(26, "Can't create the output epub file. '%s'", destinationText.c_str());
}
