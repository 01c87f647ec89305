#include "engine/FeatureColumns.h"

void FeatureColumns::reset(const char* feature)
{
    // One pass over the bytes, up to the end of the last column wanted.
    m_count = 0;
    const char* begin = feature;
    for (const char* p = feature;; ++p) {
        if (*p != ',' && *p != 0)
            continue;
        m_columns[m_count++] = std::string_view(begin, static_cast<size_t>(p - begin));
        if (*p == 0 || m_count == MaxColumns)
            return;
        begin = p + 1;
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
