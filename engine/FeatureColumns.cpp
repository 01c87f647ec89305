#include "engine/FeatureColumns.h"

FeatureColumns::~FeatureColumns()
{
    for (uint32_t i = 0; i < m_columns.count(); ++i)
        delete m_columns.at(i);
}

bool FeatureColumns::is(uint32_t n, std::string_view value) const
{
    const KILN::TString<char>* column = m_columns.at(n);
    return column && textIs(*column, value);
}
