#include "kiln/base/FromUcs2ToUtf7.h"

#include "kiln/base/Utf7Alphabet.h"

namespace KILN {

uint32_t FromUcs2ToUtf7::closeRun(char* out)
{
    uint32_t count = 0;
    if (m_bitCount > 0)
        out[count++] = Utf7Alphabet::Base64[(m_bits << (6 - m_bitCount)) & 0x3F];
    out[count++] = '-';
    m_inBase64 = false;
    m_bits = m_bitCount = 0;
    return count;
}

char FromUcs2ToUtf7::convert()
{
    if (m_fresh) {
        m_inBase64 = false;
        m_bits = m_bitCount = 0;
    }
    char out[5];
    uint32_t count = 0;
    uint32_t unit;
    try {
        unit = input();
    } catch (const IOException& e) {
        // Close an open run; the end of input is reported on the next read.
        if (e.code() != IOException::EndOfInput || !m_inBase64)
            throw;
        return answer(out, closeRun(out));
    }
    if (Utf7Alphabet::isDirect(unit)) {
        if (m_inBase64)
            count = closeRun(out);
        out[count++] = static_cast<char>(unit);
    } else if (unit == '+' && !m_inBase64) {
        out[count++] = '+';
        out[count++] = '-';
    } else {
        if (!m_inBase64) {
            out[count++] = '+';
            m_inBase64 = true;
        }
        m_bits = (m_bits << 16) | unit;
        m_bitCount += 16;
        while (m_bitCount >= 6) {
            m_bitCount -= 6;
            out[count++] = Utf7Alphabet::Base64[(m_bits >> m_bitCount) & 0x3F];
        }
        m_bits &= (1u << m_bitCount) - 1;
    }
    return answer(out, count);
}

template class Converter<FromUcs2ToUtf7, char, uint16_t>;

} // namespace KILN
