#include "kiln/base/FromUtf8NToUcs2.h"

namespace KILN {

unsigned short FromUtf8NToUcs2::convert()
{
    if (m_fresh)
        m_decoder.restart();
    for (;;) {
        const uint32_t value = m_decoder.decode([this] { return input(); });
        if (value <= 0xFFFF)
            return static_cast<unsigned short>(value);
    }
}

void FromUtf8NToUcs2::convertRun(const uint8_t*& next, const uint8_t* end, unsigned short*& dest,
                                 unsigned short* destEnd)
{
    if (m_decoder.holdsByte())
        return;
    while (next != end && dest != destEnd) {
        if (*next < 0x80) {
            *dest++ = *next++;
            continue;
        }
        size_t used = 0;
        const uint32_t value = utf::decodeUtf8(next, static_cast<size_t>(end - next), used);
        // Not well-formed, or cut by the end of the window: the lenient decoder decides.
        if (value == utf::Replacement && used == 1)
            return;
        next += used;
        if (value <= 0xFFFF)
            *dest++ = static_cast<unsigned short>(value);
    }
}

template class Converter<FromUtf8NToUcs2, unsigned short, uint8_t>;

} // namespace KILN
