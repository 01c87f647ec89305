#pragma once

#include <cstddef>
#include <cstdint>

namespace KILN {

// UTF-16 units for a text read once from front to back (a decoded document).
// A large text lives in memory pages mapped for it alone, whose whole pages
// before the read position can be given back to the system while the rest is
// still read, so that the text does not add to the peak of the tree being
// built from it. A text under a megabyte stays on the heap (mapping costs
// system calls and whole pages) and is kept whole.
class MappedUnits {
public:
    MappedUnits() = default;
    MappedUnits(MappedUnits&& other) noexcept;
    MappedUnits& operator=(MappedUnits&& other) noexcept;
    MappedUnits(const MappedUnits&) = delete;
    MappedUnits& operator=(const MappedUnits&) = delete;
    ~MappedUnits();

    // Makes room for units (at least one), keeping the units already there
    // up to the new room; false, with the buffer unchanged, when the system
    // has no memory for it. Only before anything is released.
    bool resize(uint32_t units);
    // Gives back the whole pages before position, a pointer into the units,
    // of a mapped text; the units from position on stay. Reading before it
    // afterwards faults.
    void releaseBefore(const unsigned short* position);

    unsigned short* data() const { return m_units; }
    uint32_t capacity() const { return m_capacity; }

private:
    void unmap();
    bool map(size_t bytes);

    unsigned short* m_units = nullptr;
    uint32_t m_capacity = 0;
    size_t m_mappedBytes = 0;   // from m_units, a whole number of pages; 0 on the heap
    size_t m_releasedBytes = 0; // the front of those already given back
};

} // namespace KILN
