#include "model/UnpackLimits.h"

#include "model/ZephraModelError.h"

#include <string>

namespace {

const char EntriesExceeded[] = "The book exceeds the unpacking limit of %s entries.";

[[noreturn]] void exceeded(const char* message, uint64_t limit)
{
    raiseModelError(29, message, std::to_string(limit).c_str());
}

} // namespace

UnpackBudget::UnpackBudget(const UnpackLimits& limits, uint64_t archiveSize)
    : m_limits(limits), m_archiveSize(archiveSize)
{
}

void UnpackBudget::announce(uint64_t entries) const
{
    if (entries > m_limits.entries)
        exceeded(EntriesExceeded, m_limits.entries);
}

void UnpackBudget::add(uint64_t size)
{
    if (++m_entries > m_limits.entries)
        exceeded(EntriesExceeded, m_limits.entries);
    // Sizes come from the archive: a sum that wraps around is over any limit.
    m_total = size > m_limits.size - m_total ? m_limits.size + 1 : m_total + size;
    if (m_total > m_limits.size)
        exceeded("The book exceeds the unpacking limit of %s bytes.", m_limits.size);
    if (m_total > UnpackLimits::RatioGrace && m_total / m_limits.ratio > m_archiveSize)
        exceeded("The book exceeds the unpacking limit of %s times its size.", m_limits.ratio);
}
