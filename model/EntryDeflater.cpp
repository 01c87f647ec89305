#include "model/EntryDeflater.h"

#include "kiln/file/FileDescriptor.h"
#include "kiln/file/RegularFile.h"
#include "model/WorkerCount.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <system_error>

#include <fcntl.h>
#include <libdeflate.h>
#include <unistd.h>

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

// A thread's raw deflate state, made once for every file it deflates; null
// when memory was short.
class EntryDeflater::Compressor {
public:
    explicit Compressor(int level) : m_state(libdeflate_alloc_compressor(level)) {}
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    ~Compressor() { libdeflate_free_compressor(m_state); }
    libdeflate_compressor* get() const { return m_state; }

private:
    libdeflate_compressor* m_state;
};

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
    if (m_threads.empty()) {
        lock.unlock();
        if (!m_writersCompressor)
            m_writersCompressor = std::make_unique<Compressor>(m_level);
        return deflateFile(m_paths[index], *m_writersCompressor, result);
    }
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
    Compressor compressor(m_level);
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
        const bool deflated = deflateFile(m_paths[index], compressor, result);
        lock.lock();
        if (deflated) {
            m_heldBytes += result.data.size();
            m_results[index] = std::move(result);
        }
        m_states[index] = deflated ? State::Deflated : State::LeftToWriter;
        m_changed.notify_all();
    }
}

bool EntryDeflater::deflateFile(const std::string& path, Compressor& compressor, Deflated& result) const
{
    try {
        std::string bytes;
        if (!compressor.get() || !readWhole(path, bytes, result.status))
            return false;
        result.data.resize(libdeflate_deflate_compress_bound(compressor.get(), bytes.size()));
        const size_t written = libdeflate_deflate_compress(compressor.get(), bytes.data(), bytes.size(),
                                                           result.data.data(), result.data.size());
        result.data.resize(written);
        result.size = bytes.size();
        result.crc = libdeflate_crc32(0, bytes.data(), bytes.size());
        // The bound always holds the data; a zero answer would be a fault.
        return written != 0;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
