#include "kiln/base/MappedUnits.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

namespace KILN {

namespace {

// The largest text kept on the heap.
constexpr size_t HeapBytes = 1024 * 1024;

size_t pageSize()
{
    static const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

size_t wholePages(size_t bytes)
{
    const size_t page = pageSize();
    return (bytes + page - 1) / page * page;
}

} // namespace

MappedUnits::MappedUnits(MappedUnits&& other) noexcept
    : m_units(std::exchange(other.m_units, nullptr)), m_capacity(std::exchange(other.m_capacity, 0)),
      m_mappedBytes(std::exchange(other.m_mappedBytes, 0)), m_releasedBytes(std::exchange(other.m_releasedBytes, 0))
{
}

MappedUnits& MappedUnits::operator=(MappedUnits&& other) noexcept
{
    if (this != &other) {
        unmap();
        m_units = std::exchange(other.m_units, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_mappedBytes = std::exchange(other.m_mappedBytes, 0);
        m_releasedBytes = std::exchange(other.m_releasedBytes, 0);
    }
    return *this;
}

MappedUnits::~MappedUnits()
{
    unmap();
}

void MappedUnits::unmap()
{
    if (m_mappedBytes == 0)
        std::free(m_units);
    else if (m_mappedBytes > m_releasedBytes)
        munmap(reinterpret_cast<char*>(m_units) + m_releasedBytes, m_mappedBytes - m_releasedBytes);
}

bool MappedUnits::map(size_t bytes)
{
    void* mapped = m_mappedBytes ? mremap(m_units, m_mappedBytes, bytes, MREMAP_MAYMOVE)
                                 : mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return false;
    if (m_mappedBytes == 0 && m_units) {
        // From the heap into pages: the units move once.
        std::memcpy(mapped, m_units, m_capacity * sizeof(unsigned short));
        std::free(m_units);
    }
    m_units = static_cast<unsigned short*>(mapped);
    m_mappedBytes = bytes;
    return true;
}

bool MappedUnits::resize(uint32_t units)
{
    const size_t bytes = (units ? units : 1) * sizeof(unsigned short);
    if (m_mappedBytes == 0 && bytes < HeapBytes) {
        void* resized = std::realloc(m_units, bytes);
        if (!resized)
            return false;
        m_units = static_cast<unsigned short*>(resized);
    } else if (!map(wholePages(bytes))) {
        return false;
    }
    m_capacity = units;
    return true;
}

void MappedUnits::releaseBefore(const unsigned short* position)
{
    if (m_mappedBytes == 0)
        return;
    const size_t offset = static_cast<size_t>(reinterpret_cast<const char*>(position) - reinterpret_cast<char*>(m_units));
    const size_t upTo = offset / pageSize() * pageSize();
    if (upTo <= m_releasedBytes)
        return;
    munmap(reinterpret_cast<char*>(m_units) + m_releasedBytes, upTo - m_releasedBytes);
    m_releasedBytes = upTo;
}

} // namespace KILN
