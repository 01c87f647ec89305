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

template class Converter<FromUtf8NToUcs2, unsigned short, uint8_t>;

} // namespace KILN
