#include "engine/Feature.h"

namespace {

// The comma or the zero after a column. Columns are a few bytes long, so a
// plain loop beats a library call per column.
const char* columnEnd(const char* p)
{
    while (*p != ',' && *p != 0)
        ++p;
    return p;
}

} // namespace

std::string_view featureColumn(const char* feature, uint32_t n)
{
    const char* begin = feature;
    for (uint32_t column = 0; column < n; ++column) {
        begin = columnEnd(begin);
        if (*begin == 0)
            return {};
        ++begin;
    }
    return std::string_view(begin, static_cast<size_t>(columnEnd(begin) - begin));
}
