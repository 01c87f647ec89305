#include "engine/FeatureColumns.h"

#include <cstring>

void FeatureColumns::reset(const char* feature, uint32_t limit)
{
    limit = limit < 1 ? 1 : limit > MaxColumns ? MaxColumns : limit;
    m_count = 0;
    const char* begin = feature;
    for (;;) {
        // strchrnul stops at the comma or at the end, many bytes a step.
        const char* end = strchrnul(begin, ',');
        m_columns[m_count++] = std::string_view(begin, static_cast<size_t>(end - begin));
        if (*end == 0 || m_count == limit)
            return;
        begin = end + 1;
    }
}
