#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

// Inflates the entries of an archive on worker threads and checks them
// against their recorded size and checksum, ahead of the one thread that
// reads them raw from the archive and writes the files in entry order, so
// that unpacking a book is not bound to one core.
class EntryInflater {
public:
    // An entry as the archive stores it.
    struct Stored {
        std::vector<unsigned char> raw;  // the compressed bytes
        bool deflated = true;            // else stored as is
        uint64_t size = 0;               // the recorded unpacked size
        uint32_t crc = 0;                // the recorded checksum
    };

    enum class Fault : uint8_t { None, Damaged, EndsEarly, BadChecksum };

    // What an entry unpacks to: the bytes an extraction streaming it would
    // have written before it stopped, and why it failed.
    struct Unpacked {
        std::vector<unsigned char> data;
        Fault fault = Fault::None;
    };

    // Entries larger than this, stored or unpacked, are not held whole.
    static constexpr uint64_t MaxEntryBytes = 16 * 1024 * 1024;
    // The buffer a streaming extraction reads an entry through.
    static constexpr size_t ReadBuffer = 8192;

    // threads: how many to start; with none every entry is unpacked by the
    // thread that takes it.
    explicit EntryInflater(unsigned threads);
    EntryInflater(const EntryInflater&) = delete;
    EntryInflater& operator=(const EntryInflater&) = delete;
    // Lets the entries being inflated finish and joins the threads.
    ~EntryInflater();

    // Whether enough is held ahead that the oldest entry must be taken
    // before another is added.
    bool full();
    // Queues an entry (of at most MaxEntryBytes either way).
    void add(Stored entry);
    // Waits for the oldest entry not yet taken and answers it; with none
    // started on it yet, unpacks it here.
    Unpacked takeOldest();

private:
    enum class State : uint8_t { Queued, Working, Done };
    struct Slot {
        Stored stored;
        Unpacked unpacked;
        std::exception_ptr error;  // what unpacking raised, for the taker
        size_t bytes = 0;          // held for it: stored and unpacked size
        State state = State::Queued;
    };

    void work();
    static void unpack(Slot& slot);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Slot> m_slots;  // added and not yet taken, oldest first
    size_t m_queued = 0;       // the first slot no thread has taken up
    size_t m_heldBytes = 0;    // stored and unpacked bytes of the slots
    size_t m_slotsAhead = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

// Unpacks entry in the same steps as minizip's reading of it through a
// buffer of ReadBuffer bytes, so that what it answers, damage included, is
// what that reading writes and reports.
EntryInflater::Unpacked unpackEntry(EntryInflater::Stored entry);
