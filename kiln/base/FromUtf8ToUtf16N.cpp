#include "kiln/base/FromUtf8ToUtf16N.h"

namespace KILN {

unsigned short FromUtf8ToUtf16N::convert()
{
    bool first = m_fresh;
    if (first)
        m_decoder.restart();
    for (;;) {
        const uint32_t value = m_decoder.decode(*m_source);
        if (first && value == 0xFEFF) {
            first = false;
            continue;
        }
        first = false;
        if (value <= 0xFFFF)
            return static_cast<unsigned short>(value);
        if (value == InvalidUtf8Sequence)
            continue;
        const uint32_t v = value - 0x10000;
        return answer(static_cast<unsigned short>(0xD800 + (v >> 10)),
                      static_cast<unsigned short>(0xDC00 + (v & 0x3FF)));
    }
}

} // namespace KILN
