#include "kiln/file/ReplacingFile.h"

#include "kiln/base/Utf.h"
#include "kiln/file/InterruptCleanup.h"
#include "kiln/file/NativePath.h"

#include <cerrno>
#include <climits>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KILN {

namespace {

// The kernel's own bound on the links it follows while resolving one name.
constexpr int MaxLinkHops = 40;
// Longest part of the destination's name kept in the temporary name, so that
// the temporary name stays within NAME_MAX.
constexpr size_t MaxNameInTemporary = 200;

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows a chain of symbolic links from path to the name that finally holds
// the data (which need not exist yet). A link whose text does not name what
// it leads to (those of /proc: "pipe:[12]", "/x (deleted)") stops the chain
// with through set: path is then that link, to be written through. False
// when the chain is too long or cannot be read.
bool resolveLinks(std::string& path, struct stat& st, bool& exists, bool& through)
{
    for (int hops = 0;; ++hops) {
        if (lstat(path.c_str(), &st) != 0) {
            exists = false;
            return errno == ENOENT;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            return true;
        }
        if (hops == MaxLinkHops)
            return false;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<size_t>(length) == target.size())
            return false;
        target.resize(static_cast<size_t>(length));
        const std::string next = target[0] == '/' ? target : folderOf(path) + "/" + target;
        struct stat object;
        struct stat named;
        if (stat(path.c_str(), &object) == 0
            && (stat(next.c_str(), &named) != 0 || named.st_dev != object.st_dev || named.st_ino != object.st_ino)) {
            st = object;
            exists = true;
            through = true;
            return true;
        }
        path = next;
    }
}

// A name beside destination that is not in use: a hidden file named after the
// destination with a random suffix.
std::string temporaryCandidate(const std::string& destination, std::mt19937& random)
{
    std::string name = nameOf(destination);
    if (name.size() > MaxNameInTemporary) {
        size_t cut = MaxNameInTemporary;
        while (cut > 0 && utf::isUtf8Continuation(static_cast<uint8_t>(name[cut])))
            --cut;  // do not split a UTF-8 sequence
        name.resize(cut);
    }
    static const char digits[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix(6, 'x');
    for (char& c : suffix)
        c = digits[random() % (sizeof digits - 1)];
    return folderOf(destination) + "/." + name + ".zef-" + suffix;
}

// Flushes the named file's data to disk.
bool syncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

} // namespace

ReplacingFile::ReplacingFile(const TStringPtr<unsigned short>& destination, Durability durability)
    : m_valid(toNativePath(destination, m_destination) && !m_destination.empty()), m_durability(durability)
{
}

ReplacingFile::ReplacingFile(const std::string& nativeDestination, Durability durability)
    : m_destination(nativeDestination)
    , m_valid(!nativeDestination.empty())
    , m_durability(durability)
{
}

ReplacingFile::~ReplacingFile()
{
    if (m_stream)
        std::fclose(m_stream);
    if (!m_temporary.empty() && !m_through) {
        unlink(m_temporary.c_str());
        InterruptCleanup::release(m_temporary);
    }
}

bool ReplacingFile::open()
{
    if (!m_valid || !m_temporary.empty())
        return false;
    struct stat st;
    bool exists = false;
    bool through = false;
    if (!resolveLinks(m_destination, st, exists, through))
        return false;
    if (through) {
        // Nothing can be renamed over such a link: the data goes through it.
        m_stream = std::fopen(m_destination.c_str(), "wb");
        if (!m_stream)
            return false;
        m_through = true;
        m_temporary = m_destination;
        return true;
    }
    if (exists && !S_ISREG(st.st_mode))
        return false;

    // One generator per thread, seeded once: seeding costs more than the
    // write of a small file.
    thread_local std::mt19937 random{std::random_device{}()};
    int fd = -1;
    std::string candidate;
    // With a random suffix a clash is rare; a bound keeps a directory that
    // refuses every name from holding us up.
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        candidate = temporaryCandidate(m_destination, random);
        InterruptCleanup::Pause pause;
        // The mode lets the umask apply as for any newly created file.
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            InterruptCleanup::addFile(candidate);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    m_temporary = candidate;
    // A replaced file keeps its permissions, as when it is overwritten in place.
    if ((exists && fchmod(fd, st.st_mode & 0777) != 0) || !(m_stream = fdopen(fd, "wb"))) {
        ::close(fd);
        unlink(m_temporary.c_str());
        InterruptCleanup::release(m_temporary);
        m_temporary.clear();
        return false;
    }
    return true;
}

bool ReplacingFile::closeStream()
{
    if (!m_stream)
        return true;
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    return closed;
}

bool ReplacingFile::commit()
{
    if (m_temporary.empty())
        return false;
    if (m_through) {
        const bool written = closeStream();
        m_temporary.clear();
        return written;
    }
    const bool synced = m_durability == Durability::Synced;
    bool done;
    if (m_stream) {
        done = std::fflush(m_stream) == 0 && (!synced || fsync(fileno(m_stream)) == 0);
        done = closeStream() && done;
    } else {
        done = !synced || syncFile(m_temporary);
    }
    {
        InterruptCleanup::Pause pause;
        done = done && rename(m_temporary.c_str(), m_destination.c_str()) == 0;
        if (!done)
            unlink(m_temporary.c_str());
        InterruptCleanup::release(m_temporary);
    }
    m_temporary.clear();
    if (!done)
        return false;
    if (!synced)
        return true;
    // Make the rename itself durable; the data is in place either way.
    const int folder = ::open(folderOf(m_destination).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        ::close(folder);
    }
    return true;
}

} // namespace KILN
