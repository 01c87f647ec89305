#include "model/MarkedReferences.h"

uint32_t MarkedReferences::skip(uint32_t index)
{
    if (index >= m_length || m_units[index] != Start || index >= m_unclosedFrom)
        return index;
    for (uint32_t p = index + 1; p < m_length; ++p) {
        if (m_units[p] == End)
            return p + 1;
    }
    m_unclosedFrom = index;
    return index;
}
