#pragma once

#include <cstdint>

// How far an archive may unpack, so that a small hostile book (a "zip bomb")
// cannot fill the temporary folder or the memory behind it. The defaults
// pass any real book: text deflates to a few times its size and images
// hardly at all, while a bomb deflates a thousandfold.
struct UnpackLimits {
    // Bytes of all entries together.
    uint64_t size = uint64_t(4) << 30;
    // Entries of the archive, folders included.
    uint64_t entries = 100000;
    // Unpacked bytes per byte of the archive, held against books that
    // unpack to more than RatioGrace bytes; at least 1.
    uint64_t ratio = 100;

    static constexpr uint64_t RatioGrace = uint64_t(64) << 20;
};

// Adds up the entries of an archive as they are listed, before any is
// unpacked, and raises error 29 naming the limit the book goes beyond.
class UnpackBudget {
public:
    UnpackBudget(const UnpackLimits& limits, uint64_t archiveSize);

    // Refuses at once an archive whose end record counts more entries than
    // the limit; add holds the limit where that record is wrong.
    void announce(uint64_t entries) const;
    // Counts one entry that unpacks to size bytes.
    void add(uint64_t size);

private:
    const UnpackLimits m_limits;
    const uint64_t m_archiveSize;
    uint64_t m_entries = 0;
    uint64_t m_total = 0;
};
