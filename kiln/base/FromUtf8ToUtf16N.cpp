#include "kiln/base/FromUtf8ToUtf16N.h"

#include "kiln/base/Utf.h"

namespace KILN {

unsigned short FromUtf8ToUtf16N::convert()
{
    bool first = m_fresh;
    if (first)
        m_decoder.restart();
    for (;;) {
        const uint32_t value = m_decoder.decode([this] { return input(); });
        if (first && value == 0xFEFF) {
            first = false;
            continue;
        }
        first = false;
        if (value <= 0xFFFF)
            return static_cast<unsigned short>(value);
        return answer(utf::highSurrogateOf(value), utf::lowSurrogateOf(value));
    }
}

template class Converter<FromUtf8ToUtf16N, unsigned short, uint8_t>;

} // namespace KILN
