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

// Removes everything inside the open directory `fd` and closes it. Every step
// works relative to an open directory and never follows a symbolic link, so
// a link swapped in during the walk cannot lead it outside the tree.
bool removeContents(int fd)
{
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return false;
    }
    std::vector<std::string> names;
    bool done = readNames(dir, names);
    for (size_t i = 0; done && i < names.size(); ++i) {
        const char* name = names[i].c_str();
        struct stat st;
        if (fstatat(dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            done = false;
        } else if (S_ISDIR(st.st_mode)) {
            const int sub = openat(dirfd(dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            done = sub >= 0 && removeContents(sub) && unlinkat(dirfd(dir), name, AT_REMOVEDIR) == 0;
        } else {
            done = unlinkat(dirfd(dir), name, 0) == 0;
        }
    }
    closedir(dir);
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
