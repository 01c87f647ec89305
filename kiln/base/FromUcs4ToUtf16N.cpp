#include "kiln/base/FromUcs4ToUtf16N.h"

#include "kiln/base/Utf.h"

namespace KILN {

unsigned short FromUcs4ToUtf16N::convert()
{
    for (;;) {
        const uint32_t value = input();
        if (value <= 0xFFFF)
            return static_cast<unsigned short>(value);
        if (value <= 0x10FFFF)
            return answer(utf::highSurrogateOf(value), utf::lowSurrogateOf(value));
    }
}

template class Converter<FromUcs4ToUtf16N, unsigned short, uint32_t>;

} // namespace KILN
