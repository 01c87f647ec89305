#include "kiln/base/FromUtf16NToUcs4.h"

#include "kiln/base/Utf.h"

namespace KILN {

unsigned int FromUtf16NToUcs4::convert()
{
    if (m_fresh)
        m_pending = -1;
    uint32_t unit;
    if (m_pending >= 0) {
        unit = static_cast<uint32_t>(m_pending);
        m_pending = -1;
    } else {
        unit = input();
    }
    if (!utf::isHighSurrogate(unit))
        return unit;
    uint32_t low;
    try {
        low = input();
    } catch (const IOException& e) {
        if (e.code() != IOException::EndOfInput)
            throw;
        return unit;
    }
    if (utf::isLowSurrogate(low))
        return utf::joinSurrogates(unit, low);
    m_pending = static_cast<int32_t>(low);
    return unit;
}

template class Converter<FromUtf16NToUcs4, unsigned int, uint16_t>;

} // namespace KILN
