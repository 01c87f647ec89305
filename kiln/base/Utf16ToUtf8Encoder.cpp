#include "kiln/base/Utf16ToUtf8Encoder.h"

#include "kiln/base/Utf.h"

namespace KILN {

char Utf16ToUtf8Encoder::convert()
{
    if (m_writeMark && m_fresh)
        return answer('\xEF', '\xBB', '\xBF');
    uint32_t value = input();
    while (utf::isHighSurrogate(value)) {
        const uint32_t low = input();
        if (utf::isLowSurrogate(low)) {
            value = utf::joinSurrogates(value, low);
            break;
        }
        // A lone high surrogate: drop it alone and encode what follows.
        value = low;
    }
    uint8_t bytes[4];
    const int count = utf::encodeUtf8(value, bytes);
    return answer(reinterpret_cast<const char*>(bytes), static_cast<uint32_t>(count));
}

template class Converter<Utf16ToUtf8Encoder, char, uint16_t>;

} // namespace KILN
