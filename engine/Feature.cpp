#include "engine/Feature.h"

#include <cstring>

std::string_view featureColumn(const char* feature, uint32_t n)
{
    const char* begin = feature;
    for (uint32_t column = 0; column < n; ++column) {
        begin = std::strchr(begin, ',');
        if (!begin)
            return {};
        ++begin;
    }
    const char* end = std::strchr(begin, ',');
    return end ? std::string_view(begin, static_cast<size_t>(end - begin)) : std::string_view(begin);
}
