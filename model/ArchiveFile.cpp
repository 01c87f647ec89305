#include "model/ArchiveFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An open archive. Reading, two windows of the file are kept: minizip goes to
// and fro between the central directory and the entries, reading each in
// order. Writing, the first window holds the bytes written and not yet
// stored.
class ArchiveStream {
public:
    static constexpr size_t Capacity = size_t{1} << 16;

    ArchiveStream(int fd, bool writing, uint64_t size) : m_fd(fd), m_writing(writing), m_size(size) {}

    uLong read(void* destination, uLong size)
    {
        char* out = static_cast<char*>(destination);
        uLong done = 0;
        while (done < size && !m_failed) {
            if (Window* window = windowAt(m_position)) {
                const uint64_t n = std::min<uint64_t>(size - done, window->start + window->length - m_position);
                std::memcpy(out + done, window->bytes.data() + (m_position - window->start), n);
                m_position += n;
                done += static_cast<uLong>(n);
                continue;
            }
            // A large read goes straight into place; a small one fills the
            // window used least recently.
            Window& refilled = m_windows[0].used < m_windows[1].used ? m_windows[0] : m_windows[1];
            const bool direct = size - done >= Capacity;
            if (!direct)
                refilled.bytes.resize(Capacity);
            const ssize_t got = direct ? pread(m_fd, out + done, size - done, static_cast<off_t>(m_position))
                                       : pread(m_fd, refilled.bytes.data(), Capacity, static_cast<off_t>(m_position));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                m_failed = true;
            if (got <= 0)
                break;
            if (direct) {
                m_position += static_cast<uint64_t>(got);
                done += static_cast<uLong>(got);
            } else {
                refilled.start = m_position;
                refilled.length = static_cast<size_t>(got);
            }
        }
        return done;
    }

    uLong write(const void* source, uLong size)
    {
        Window& pending = m_windows[0];
        const bool joins = m_position >= pending.start && m_position <= pending.start + pending.length
                           && m_position + size <= pending.start + Capacity;
        if (m_failed || (pending.length != 0 && !joins && !flush()))
            return 0;
        if (pending.length == 0)
            pending.start = m_position;
        if (size > Capacity) {
            if (!storeAll(static_cast<const char*>(source), size, m_position))
                return 0;
        } else {
            const size_t at = static_cast<size_t>(m_position - pending.start);
            pending.bytes.resize(Capacity);
            std::memcpy(pending.bytes.data() + at, source, size);
            pending.length = std::max(pending.length, at + size);
        }
        m_position += size;
        m_size = std::max(m_size, m_position);
        return size;
    }

    uint64_t tell() const { return m_position; }

    long seek(ZPOS64_T offset, int origin)
    {
        switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET:
            m_position = offset;
            return 0;
        case ZLIB_FILEFUNC_SEEK_CUR:
            m_position += offset;
            return 0;
        case ZLIB_FILEFUNC_SEEK_END:
            m_position = m_size + offset;
            return 0;
        default:
            return -1;
        }
    }

    // Stores what is buffered and closes the file; nonzero when anything
    // failed.
    int close()
    {
        if (m_writing && m_windows[0].length != 0)
            flush();
        const bool closed = ::close(m_fd) == 0;
        return closed && !m_failed ? 0 : -1;
    }

    int error() const { return m_failed ? 1 : 0; }

private:
    struct Window {
        std::vector<char> bytes;
        uint64_t start = 0;
        size_t length = 0;
        uint64_t used = 0; // when it last answered a read
    };

    // The window that holds the byte at position, or null.
    Window* windowAt(uint64_t position)
    {
        for (Window& window : m_windows) {
            if (position >= window.start && position < window.start + window.length) {
                window.used = ++m_reads;
                return &window;
            }
        }
        return nullptr;
    }

    bool flush()
    {
        Window& pending = m_windows[0];
        const bool stored = storeAll(pending.bytes.data(), pending.length, pending.start);
        pending.length = 0;
        return stored;
    }

    bool storeAll(const char* data, size_t size, uint64_t at)
    {
        while (size > 0 && !m_failed) {
            const ssize_t written = pwrite(m_fd, data, size, static_cast<off_t>(at));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                m_failed = true;
                break;
            }
            data += written;
            size -= static_cast<size_t>(written);
            at += static_cast<uint64_t>(written);
        }
        return !m_failed;
    }

    const int m_fd;
    const bool m_writing;
    uint64_t m_size; // the file's size: as found, or as far as written
    uint64_t m_position = 0;
    Window m_windows[2];
    uint64_t m_reads = 0;
    bool m_failed = false;
};

ArchiveStream& stream(voidpf opened)
{
    return *static_cast<ArchiveStream*>(opened);
}

voidpf ZCALLBACK openArchive(voidpf, const void* name, int mode)
{
    const bool reading = (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ
                         && (mode & ZLIB_FILEFUNC_MODE_EXISTING) != 0;
    const bool creating = (mode & ZLIB_FILEFUNC_MODE_CREATE) != 0;
    if (!name || (!reading && !creating))
        return nullptr;
    const int fd = reading ? open(static_cast<const char*>(name), O_RDONLY | O_CLOEXEC)
                           : open(static_cast<const char*>(name), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    struct stat st;
    if (reading && fstat(fd, &st) != 0) {
        ::close(fd);
        return nullptr;
    }
    return new ArchiveStream(fd, !reading, reading ? static_cast<uint64_t>(st.st_size) : 0);
}

uLong ZCALLBACK readArchive(voidpf, voidpf opened, void* buffer, uLong size)
{
    return stream(opened).read(buffer, size);
}

uLong ZCALLBACK writeArchive(voidpf, voidpf opened, const void* buffer, uLong size)
{
    return stream(opened).write(buffer, size);
}

ZPOS64_T ZCALLBACK tellArchive(voidpf, voidpf opened)
{
    return stream(opened).tell();
}

long ZCALLBACK seekArchive(voidpf, voidpf opened, ZPOS64_T offset, int origin)
{
    return stream(opened).seek(offset, origin);
}

int ZCALLBACK closeArchive(voidpf, voidpf opened)
{
    const int answer = stream(opened).close();
    delete &stream(opened);
    return answer;
}

int ZCALLBACK archiveError(voidpf, voidpf opened)
{
    return stream(opened).error();
}

} // namespace

zlib_filefunc64_def bufferedArchiveFunctions()
{
    zlib_filefunc64_def functions = {};
    functions.zopen64_file = openArchive;
    functions.zread_file = readArchive;
    functions.zwrite_file = writeArchive;
    functions.ztell64_file = tellArchive;
    functions.zseek64_file = seekArchive;
    functions.zclose_file = closeArchive;
    functions.zerror_file = archiveError;
    return functions;
}
