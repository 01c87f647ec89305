#pragma once

#include <cstdint>
#include <string_view>

// The columns 0 to 6 of one feature string (what the word-division rules
// read), as views into it: the feature must outlive them. reset reads the
// next feature without allocating.
class FeatureColumns {
public:
    static constexpr uint32_t MaxColumns = 7;

    explicit FeatureColumns(const char* feature, uint32_t limit = MaxColumns) { reset(feature, limit); }

    // Splits off at most limit columns (taken as 1 to MaxColumns): the rest of the
    // feature is not read.
    void reset(const char* feature, uint32_t limit = MaxColumns);
    // The number of columns, counted up to the limit; empty ones count, and
    // the text after the last comma is the last column.
    uint32_t count() const { return m_count; }
    // Column n; empty when missing.
    std::string_view column(uint32_t n) const { return n < m_count ? m_columns[n] : std::string_view(); }

private:
    std::string_view m_columns[MaxColumns];
    uint32_t m_count = 0;
};
