#pragma once

#include "engine/Feature.h"

// The columns of one feature string, owned; reset reuses their storage for
// the next feature.
class FeatureColumns {
public:
    explicit FeatureColumns(const char* feature) { reset(feature); }
    ~FeatureColumns();
    FeatureColumns(const FeatureColumns&) = delete;
    FeatureColumns& operator=(const FeatureColumns&) = delete;

    void reset(const char* feature) { splitFeature(feature, m_columns); }
    // True when column n equals value (a missing column equals nothing).
    bool is(uint32_t n, std::string_view value) const;
    // True when one of the columns 0 to 5 equals value.
    bool has(std::string_view value) const { return hasFeature(m_columns, value); }

private:
    KILN::ArrayList<KILN::TString<char>> m_columns;
};
