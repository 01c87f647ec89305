#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

// Deflates the files of an archive's entries on the machine's cores, ahead of
// the thread that writes the archive in entry order, so that packing a book
// is not bound to one core; without threads, the writer's own call deflates
// the file it takes, the same way, so the archive's bytes do not depend on
// the number of cores. A file it does not deflate (too large to hold in
// memory, not a regular file, unreadable, memory short) is left to the
// writer, which adds it the usual way and reports what fails.
class EntryDeflater {
public:
    // A file as a raw deflate stream, with what the archive records of it.
    struct Deflated {
        std::vector<unsigned char> data;
        uint64_t size = 0;
        uint32_t crc = 0;
        struct stat status = {};
    };

    // paths are the files in writing order; level is the compression level,
    // 1 to 9 as in zlib (6 its default). No thread starts on a single core or
    // when workerCount() is 1.
    EntryDeflater(std::vector<std::string> paths, int level);
    EntryDeflater(const EntryDeflater&) = delete;
    EntryDeflater& operator=(const EntryDeflater&) = delete;
    // Lets the files being deflated finish and joins the threads.
    ~EntryDeflater();

    // Waits for the file at index (taken in increasing order, each once), or
    // deflates it when no thread runs, and moves it into result; false when
    // it is left to the writer.
    bool take(size_t index, Deflated& result);

private:
    enum class State : uint8_t { Pending, Deflated, LeftToWriter };

    class Compressor;

    void work();
    bool deflateFile(const std::string& path, Compressor& compressor, Deflated& result) const;

    const std::vector<std::string> m_paths;
    const int m_level;
    std::vector<Deflated> m_results;
    std::vector<State> m_states;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_next = 0;        // the next file a thread takes up
    size_t m_taken = 0;       // files the writer has taken
    size_t m_heldBytes = 0;   // deflated data waiting for the writer
    size_t m_filesAhead = 0;  // how far the threads may get ahead of the writer
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
    // The writer's own, made on its first call when no thread runs.
    std::unique_ptr<Compressor> m_writersCompressor;
};
