#include "engine/PatternSet.h"

#include <bit>
#include <cstring>
#include <stdexcept>

void PatternSet::add(std::string_view pattern)
{
    if (m_count == MaxPatterns || pattern.size() < 3)
        throw std::logic_error("PatternSet: too many patterns or one shorter than three bytes");
    for (uint32_t k = 0; k < 3; ++k)
        m_byte[k][static_cast<unsigned char>(pattern[k])] |= 1u << m_count;
    m_patterns[m_count++] = pattern;
}

uint32_t PatternSet::occurring(const char* text, uint32_t length, uint32_t wanted) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    uint32_t found = 0;
    for (uint32_t at = 0; at + 3 <= length; ++at) {
        // Most positions fail on their first byte: UTF-8 continuation bytes
        // start no pattern.
        uint32_t candidates = m_byte[0][bytes[at]] & wanted & ~found;
        if (!candidates)
            continue;
        candidates &= m_byte[1][bytes[at + 1]] & m_byte[2][bytes[at + 2]];
        while (candidates) {
            const uint32_t index = static_cast<uint32_t>(std::countr_zero(candidates));
            candidates &= candidates - 1;
            const std::string_view pattern = m_patterns[index];
            if (pattern.size() <= length - at && std::memcmp(text + at, pattern.data(), pattern.size()) == 0)
                found |= 1u << index;
        }
        if (found == wanted)
            break;
    }
    return found;
}
