#include "kiln/file/Directory.h"

#include "kiln/base/Utf.h"
#include "kiln/file/NativePath.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KILN {

namespace {

// A UTF-8 name from the system as a path, decoded by the strict step: a byte
// that starts no well-formed sequence becomes U+FFFD on its own. Above all an
// overlong form never decodes to ASCII: C0 AF read as '/' would turn one
// name into a path through another directory.
PathString fromNative(const std::string& name)
{
    PathString out;
    const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
    const size_t length = name.size();
    for (size_t i = 0, used = 0; i < length; i += used) {
        const uint32_t c = utf::decodeUtf8(bytes + i, length - i, used);
        if (c >= 0x10000) {
            out.append(utf::highSurrogateOf(c));
            out.append(utf::lowSurrogateOf(c));
        } else {
            out.append(static_cast<unsigned short>(c));
        }
    }
    return out;
}

bool isDirectory(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates one directory unless it exists (a link to a directory counts).
bool ensureDirectory(const std::string& path)
{
    if (isDirectory(path))
        return true;
    return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && isDirectory(path));
}

// The names in an open directory except "." and "..", sorted; false on a
// read error.
bool readNames(DIR* dir, std::vector<std::string>& names)
{
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry)
            break;
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return errno == 0;
}

// One directory on the way down while a tree is removed: its identity, to
// check the way back up, and the names still to remove.
struct Level {
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<std::string> names;
    size_t next = 0;
};

// Fills level from the open directory fd, which stays open.
bool readLevel(int fd, Level& level)
{
    struct stat st;
    if (fstat(fd, &st) != 0)
        return false;
    level.device = st.st_dev;
    level.inode = st.st_ino;
    const int copy = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    DIR* dir = copy >= 0 ? fdopendir(copy) : nullptr;
    if (!dir) {
        if (copy >= 0)
            close(copy);
        return false;
    }
    const bool read = readNames(dir, level.names);
    closedir(dir);
    return read;
}

bool sameDirectory(int fd, const Level& level)
{
    struct stat st;
    return fstat(fd, &st) == 0 && st.st_dev == level.device && st.st_ino == level.inode;
}

// Removes everything inside the open directory `fd` and closes it. One
// directory is open at a time, whatever the depth: the walk goes down by
// name and back up through "..", which must be the directory it came from.
// No step follows a symbolic link, so a link swapped in during the walk
// cannot lead it outside the tree.
bool removeContents(int fd)
{
    int current = fd;
    std::vector<Level> levels(1);
    bool done = readLevel(current, levels.back());
    while (done) {
        Level& level = levels.back();
        if (level.next == level.names.size()) {
            levels.pop_back();
            if (levels.empty())
                break;
            const int parent = openat(current, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            close(current);
            current = parent;
            const Level& above = levels.back();
            done = current >= 0 && sameDirectory(current, above)
                && unlinkat(current, above.names[above.next - 1].c_str(), AT_REMOVEDIR) == 0;
            continue;
        }
        const char* name = level.names[level.next++].c_str();
        struct stat st;
        if (fstatat(current, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            done = errno == ENOENT;  // gone already
        } else if (S_ISDIR(st.st_mode)) {
            const int sub = openat(current, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            Level below;
            done = sub >= 0 && readLevel(sub, below) && below.device == st.st_dev && below.inode == st.st_ino;
            if (sub >= 0) {
                close(current);
                current = sub;
            }
            levels.push_back(std::move(below));
        } else {
            done = unlinkat(current, name, 0) == 0 || errno == ENOENT;
        }
    }
    if (current >= 0)
        close(current);
    return done;
}

} // namespace

bool Directory::create(const TStringPtr<unsigned short>& path, int32_t& code)
{
    std::string native;
    bool done = toNativePath(path, native);
    for (size_t i = 1; done && i < native.size(); ++i) {
        if (native[i] == '/')
            done = ensureDirectory(native.substr(0, i));
    }
    done = done && ensureDirectory(native);
    code = done ? Done : CannotCreate;
    return done;
}

bool Directory::listSubdirectories(const TStringPtr<unsigned short>& path, ArrayList<PathString>& list,
                                   int32_t& code)
{
    list.clear();
    code = CannotList;
    std::string native;
    if (!toNativePath(path, native))
        return false;
    DIR* dir = opendir(native.c_str());
    if (!dir)
        return false;
    std::vector<std::string> names;
    const bool read = readNames(dir, names);
    for (size_t i = 0; read && i < names.size(); ++i) {
        struct stat st;
        if (fstatat(dirfd(dir), names[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
            list.add(new PathString(fromNative(names[i])));
    }
    closedir(dir);
    if (read)
        code = Done;
    return read;
}

bool Directory::listNames(const std::string& nativePath, std::vector<std::string>& names)
{
    names.clear();
    DIR* dir = opendir(nativePath.c_str());
    if (!dir)
        return false;
    const bool read = readNames(dir, names);
    closedir(dir);
    return read;
}

bool Directory::removeTree(const TStringPtr<unsigned short>& path, int32_t& code)
{
    std::string native;
    struct stat st;
    if (!toNativePath(path, native) || lstat(native.c_str(), &st) != 0) {
        code = Missing;
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        code = NotADirectory;
        return false;
    }
    const int fd = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const bool done = fd >= 0 && removeContents(fd) && rmdir(native.c_str()) == 0;
    code = done ? Done : CannotRemove;
    return done;
}

} // namespace KILN
