#pragma once

#include <cstdint>
#include <string_view>

// Up to 32 short byte patterns searched for together: one scan of a text
// tells which of them occur in it. Three tables, one per leading byte of a
// pattern, select at each position the few patterns whose first three bytes
// are there, and only those are compared.
class PatternSet {
public:
    static constexpr uint32_t MaxPatterns = 32;

    // Adds a pattern of at least three bytes, which must outlive the set; it
    // is known by bit (1 << index), index counting the patterns added before.
    void add(std::string_view pattern);

    // The bits, among wanted, of the patterns that occur wholly inside
    // text[0, length).
    uint32_t occurring(const char* text, uint32_t length, uint32_t wanted) const;

private:
    std::string_view m_patterns[MaxPatterns];
    uint32_t m_count = 0;
    // m_byte[k][b]: the bits of the patterns whose byte k is b.
    uint32_t m_byte[3][256] = {};
};
