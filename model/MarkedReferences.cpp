#include "model/MarkedReferences.h"

#include <algorithm>

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

KILN::Utf16String MarkedReferences::written(const KILN::Utf16String& text)
{
    KILN::Utf16String out(text);
    std::replace(out.data(), out.data() + out.length(), Start, static_cast<unsigned short>('&'));
    std::replace(out.data(), out.data() + out.length(), End, static_cast<unsigned short>(';'));
    return out;
}
