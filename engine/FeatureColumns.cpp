#include "engine/FeatureColumns.h"

#include <cstring>

void FeatureColumns::reset(const char* feature)
{
    m_count = 0;
    for (const char* begin = feature;; ) {
        // strchrnul stops at the comma or at the end, many bytes a step.
        const char* end = strchrnul(begin, ',');
        m_columns[m_count++] = std::string_view(begin, static_cast<size_t>(end - begin));
        if (*end == 0 || m_count == MaxColumns)
            return;
        begin = end + 1;
    }
}

bool FeatureColumns::has(std::string_view value) const
{
    const uint32_t searched = m_count < 6 ? m_count : 6;
    for (uint32_t i = 0; i < searched; ++i) {
        if (m_columns[i] == value)
            return true;
    }
    return false;
}
