#include "model/EntryDeflater.h"

#include "kiln/file/FileDescriptor.h"
#include "kiln/file/RegularFile.h"
#include "model/WorkerCount.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

namespace {

// A larger file streams through the writer instead of being held whole.
constexpr off_t MaxHeldFile = 16 * 1024 * 1024;
// Deflated data held ahead of the writer, and files ahead of it per thread:
// enough to keep the threads busy while the writer writes, no more.
constexpr size_t MaxHeldBytes = 64 * 1024 * 1024;
constexpr size_t FilesAheadPerThread = 4;
// Each thread may hold a file and its deflated form: four keep the memory a
// packing can take small, and the writer rarely keeps up with more.
constexpr unsigned MaxThreads = 4;

// Reads the whole regular file at path into bytes; false on any failure or
// when it is (or grows) larger than MaxHeldFile.
bool readWhole(const std::string& path, std::string& bytes, struct stat& status)
{
    // As the writer opens it: a link is not followed, a FIFO does not block.
    const KILN::FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    return file.isOpen() && fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode)
        && status.st_size <= MaxHeldFile
        && KILN::readOpenFile(file.get(), bytes, static_cast<uint64_t>(status.st_size),
                              static_cast<uint64_t>(MaxHeldFile));
}

} // namespace

EntryDeflater::EntryDeflater(std::vector<std::string> paths, int level)
    : m_paths(std::move(paths)), m_level(level), m_results(m_paths.size()), m_states(m_paths.size(), State::Pending)
{
    const unsigned cores = workerCount();
    if (cores < 2 || m_paths.empty())
        return;
    const auto count = static_cast<unsigned>(std::min<size_t>({cores, MaxThreads, m_paths.size()}));
    m_filesAhead = FilesAheadPerThread * count;
    try {
        for (unsigned i = 0; i < count; ++i)
            m_threads.emplace_back(&EntryDeflater::work, this);
    } catch (const std::system_error&) {
        // Fewer threads, or none: the writer deflates what they do not.
    }
}

EntryDeflater::~EntryDeflater()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

bool EntryDeflater::take(size_t index, Deflated& result)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_taken = index + 1;
    if (m_threads.empty())
        return false;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_states[index] != State::Pending; });
    const bool deflated = m_states[index] == State::Deflated;
    if (deflated) {
        m_heldBytes -= m_results[index].data.size();
        result = std::move(m_results[index]);
        m_results[index] = Deflated();
    }
    m_changed.notify_all();
    return deflated;
}

void EntryDeflater::work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] {
            return m_stopping || m_next >= m_paths.size() ||
                   (m_next < m_taken + m_filesAhead && m_heldBytes < MaxHeldBytes);
        });
        if (m_stopping || m_next >= m_paths.size())
            return;
        const size_t index = m_next++;
        lock.unlock();
        Deflated result;
        const bool deflated = deflateFile(m_paths[index], result);
        lock.lock();
        if (deflated) {
            m_heldBytes += result.data.size();
            m_results[index] = std::move(result);
        }
        m_states[index] = deflated ? State::Deflated : State::LeftToWriter;
        m_changed.notify_all();
    }
}

bool EntryDeflater::deflateFile(const std::string& path, Deflated& result) const
{
    try {
        std::string bytes;
        if (!readWhole(path, bytes, result.status))
            return false;
        // The parameters minizip deflates with, so that the entry reads as
        // one minizip would have written.
        z_stream stream = {};
        if (deflateInit2(&stream, m_level, Z_DEFLATED, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK)
            return false;
        result.data.resize(deflateBound(&stream, static_cast<uLong>(bytes.size())));
        stream.next_in = reinterpret_cast<unsigned char*>(bytes.data());
        stream.avail_in = static_cast<uInt>(bytes.size());
        stream.next_out = result.data.data();
        stream.avail_out = static_cast<uInt>(result.data.size());
        const bool finished = deflate(&stream, Z_FINISH) == Z_STREAM_END;
        result.data.resize(stream.total_out);
        deflateEnd(&stream);
        result.size = bytes.size();
        result.crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<uInt>(bytes.size())));
        return finished;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
