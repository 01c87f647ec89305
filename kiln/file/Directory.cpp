#include "kiln/file/Directory.h"

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

// A UTF-8 name from the system as a path; a byte that starts no valid
// sequence becomes U+FFFD and decoding goes on. (The library's UTF-8
// conversion ends the text at the first invalid byte, and a name cut short
// could name another directory.)
PathString fromNative(const std::string& name)
{
    PathString out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    const size_t length = name.size();
    for (size_t i = 0; i < length;) {
        const unsigned char lead = bytes[i];
        const size_t extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = (lead < 0x80 || extra > 0) && lead < 0xF5 && i + extra < length;
        for (size_t k = 1; valid && k <= extra; ++k) {
            valid = (bytes[i + k] & 0xC0) == 0x80;
            c = c << 6 | (bytes[i + k] & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        valid = valid && c >= least[extra] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        if (!valid) {
            out.append(static_cast<unsigned short>(0xFFFD));
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out.append(static_cast<unsigned short>(0xD800 + ((c - 0x10000) >> 10)));
            out.append(static_cast<unsigned short>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.append(static_cast<unsigned short>(c));
        }
        i += extra + 1;
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
