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

void Utf16ToUtf8Encoder::convertRun(const uint16_t*& next, const uint16_t* end, char*& dest, char* destEnd)
{
    while (next != end && dest != destEnd) {
        uint32_t value = *next;
        if (value < 0x80) {
            *dest++ = static_cast<char>(value);
            ++next;
            continue;
        }
        const uint16_t* after = next + 1;
        if (utf::isHighSurrogate(value)) {
            if (after == end || !utf::isLowSurrogate(*after))
                return;
            value = utf::joinSurrogates(value, *after++);
        }
        uint8_t bytes[4];
        const int count = utf::encodeUtf8(value, bytes);
        if (destEnd - dest < count)
            return;
        for (int i = 0; i < count; ++i)
            *dest++ = static_cast<char>(bytes[i]);
        next = after;
    }
}

template class Converter<Utf16ToUtf8Encoder, char, uint16_t>;

} // namespace KILN
