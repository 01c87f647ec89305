#include "model/EntryInflater.h"

#include <algorithm>
#include <memory>
#include <new>
#include <system_error>

#include <libdeflate.h>
#include <zlib.h>

namespace {

// Unpacked and stored bytes held ahead of the taker, and entries ahead of
// it per thread: enough to keep the threads busy while it writes, no more.
constexpr size_t MaxHeldBytes = 64 * 1024 * 1024;
constexpr size_t EntriesAheadPerThread = 4;
// The piece of compressed data minizip reads at a time.
constexpr size_t MinizipInput = 16384;

using Unpacked = EntryInflater::Unpacked;

// Ends the stream on every path out.
class InflateStream {
public:
    InflateStream()
    {
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK)
            throw std::bad_alloc();
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
    ~InflateStream() { inflateEnd(&m_stream); }
    z_stream* operator->() { return &m_stream; }
    z_stream* get() { return &m_stream; }

private:
    z_stream m_stream = {};
};

// The deflated entry inflated call by call as minizip reads it: each call
// fills at most ReadBuffer bytes and no more than the recorded size, taking
// compressed data in pieces of MinizipInput bytes. A call that fails writes
// nothing; one that ends the stream writes what it inflated.
void inflateEntry(const EntryInflater::Stored& entry, Unpacked& result)
{
    InflateStream stream;
    result.data.resize(static_cast<size_t>(entry.size));
    size_t given = 0;  // compressed bytes handed to the stream
    size_t total = 0;  // bytes the calls have answered
    bool ended = false;
    while (!ended && total < result.data.size()) {
        stream->next_out = result.data.data() + total;
        stream->avail_out = static_cast<uInt>(std::min(EntryInflater::ReadBuffer, result.data.size() - total));
        const uLong before = stream->total_out;
        int answer = Z_OK;
        while (stream->avail_out > 0) {
            if (stream->avail_in == 0 && given < entry.raw.size()) {
                stream->next_in = const_cast<unsigned char*>(entry.raw.data()) + given;
                stream->avail_in = static_cast<uInt>(std::min(MinizipInput, entry.raw.size() - given));
                given += stream->avail_in;
            }
            answer = inflate(stream.get(), Z_SYNC_FLUSH);
            if (answer >= 0 && stream->msg)
                answer = Z_DATA_ERROR;
            if (answer != Z_OK)
                break;
        }
        if (answer != Z_OK && answer != Z_STREAM_END) {
            result.data.resize(total);
            result.fault = EntryInflater::Fault::Damaged;
            return;
        }
        const size_t got = static_cast<size_t>(stream->total_out - before);
        ended = answer == Z_STREAM_END || got == 0;
        total += got;
    }
    result.data.resize(total);
}

// The whole entry inflated at once, true when it gives exactly its recorded
// size; any other answer (damage, more or fewer bytes) is left to
// inflateEntry, which writes what a streaming extraction would have.
bool inflateWhole(const EntryInflater::Stored& entry, Unpacked& result)
{
    thread_local const std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> decompressor(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (!decompressor)
        return false;
    result.data.resize(static_cast<size_t>(entry.size));
    size_t written = 0;
    return libdeflate_deflate_decompress(decompressor.get(), entry.raw.data(), entry.raw.size(), result.data.data(),
                                         result.data.size(), &written) == LIBDEFLATE_SUCCESS
        && written == result.data.size();
}

} // namespace

Unpacked unpackEntry(EntryInflater::Stored entry)
{
    Unpacked result;
    if (entry.deflated) {
        if (!inflateWhole(entry, result))
            inflateEntry(entry, result);
        if (result.fault != EntryInflater::Fault::None)
            return result;
    } else {
        // A stored entry reads as its bytes, cut at the recorded size.
        result.data = std::move(entry.raw);
        result.data.resize(static_cast<size_t>(std::min<uint64_t>(result.data.size(), entry.size)));
    }
    // minizip checks the checksum only of an entry read to its full size.
    if (result.data.size() != entry.size)
        result.fault = EntryInflater::Fault::EndsEarly;
    else if (libdeflate_crc32(0, result.data.data(), result.data.size()) != entry.crc)
        result.fault = EntryInflater::Fault::BadChecksum;
    return result;
}

EntryInflater::EntryInflater(unsigned threads) : m_slotsAhead(EntriesAheadPerThread * std::max(threads, 1u))
{
    try {
        for (unsigned i = 0; i < threads; ++i)
            m_threads.emplace_back(&EntryInflater::work, this);
    } catch (const std::system_error&) {
        // Fewer threads, or none: the taker unpacks what they do not.
    }
}

EntryInflater::~EntryInflater()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

bool EntryInflater::full()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return !m_slots.empty() && (m_slots.size() >= m_slotsAhead || m_heldBytes >= MaxHeldBytes);
}

void EntryInflater::add(Stored entry)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const size_t bytes = entry.raw.size() + static_cast<size_t>(entry.size);
        m_slots.push_back({std::move(entry), {}, nullptr, bytes, State::Queued});
        m_heldBytes += bytes;
    }
    m_changed.notify_one();
}

EntryInflater::Unpacked EntryInflater::takeOldest()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    // Slots are only added and removed by this thread: the oldest stays put.
    Slot& oldest = m_slots.front();
    if (oldest.state == State::Queued) {
        oldest.state = State::Working;
        ++m_queued;
        lock.unlock();
        unpack(oldest);
        lock.lock();
    } else {
        m_changed.wait(lock, [&] { return oldest.state == State::Done; });
    }
    Unpacked result = std::move(oldest.unpacked);
    const std::exception_ptr error = oldest.error;
    m_heldBytes -= oldest.bytes;
    m_slots.pop_front();
    --m_queued;
    lock.unlock();
    if (error)
        std::rethrow_exception(error);
    return result;
}

void EntryInflater::work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_stopping || m_queued < m_slots.size(); });
        if (m_stopping)
            return;
        Slot& slot = m_slots[m_queued++];
        slot.state = State::Working;
        lock.unlock();
        unpack(slot);
        lock.lock();
        slot.state = State::Done;
        m_changed.notify_all();
    }
}

void EntryInflater::unpack(Slot& slot)
{
    try {
        slot.unpacked = unpackEntry(std::move(slot.stored));
    } catch (...) {
        slot.error = std::current_exception();
    }
    slot.stored = Stored();
}
