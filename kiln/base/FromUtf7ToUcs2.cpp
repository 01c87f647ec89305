#include "kiln/base/FromUtf7ToUcs2.h"

#include "kiln/base/Utf7Alphabet.h"

namespace KILN {

unsigned short FromUtf7ToUcs2::convert()
{
    if (m_fresh) {
        m_inBase64 = false;
        m_bits = m_bitCount = 0;
    }
    for (;;) {
        uint32_t b = input();
        if (!m_inBase64) {
            if (b != '+')
                return static_cast<unsigned short>(b);
            b = input();
            if (b == '-')
                return '+';
            m_inBase64 = true;
            m_bits = m_bitCount = 0;
        }
        const int32_t value = Utf7Alphabet::base64Value(b);
        if (value < 0) {
            m_inBase64 = false;
            if (b == '-')
                continue;
            return static_cast<unsigned short>(b);
        }
        m_bits = (m_bits << 6) | static_cast<uint32_t>(value);
        m_bitCount += 6;
        if (m_bitCount >= 16) {
            m_bitCount -= 16;
            const uint32_t unit = (m_bits >> m_bitCount) & 0xFFFF;
            m_bits &= (1u << m_bitCount) - 1;
            return static_cast<unsigned short>(unit);
        }
    }
}

template class Converter<FromUtf7ToUcs2, unsigned short, uint8_t>;

} // namespace KILN
