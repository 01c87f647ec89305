#include "kiln/base/Iso2022JpDecoder.h"

namespace KILN {

namespace {

constexpr uint32_t Esc = 0x1B;
constexpr uint32_t ShiftOut = 0x0E;
constexpr uint32_t ShiftIn = 0x0F;

} // namespace

void Iso2022JpDecoder::escape()
{
    const uint32_t intermediate = input();
    if (intermediate != '(' && intermediate != '$')
        return;
    const uint32_t final = input();
    if (intermediate == '$') {
        if (final == '@' || final == 'B')
            m_set = Jis0208;
        return;
    }
    if (final == 'B' || final == 'J')
        m_set = Ascii;
    else if (final == 'I')
        m_set = Kana;
}

char Iso2022JpDecoder::convert()
{
    if (m_fresh)
        m_set = m_shiftedFrom = Ascii;
    for (;;) {
        const uint32_t b = input();
        if (b == Esc) {
            escape();
        } else if (b == ShiftOut) {
            if (m_set != Kana)
                m_shiftedFrom = m_set;
            m_set = Kana;
        } else if (b == ShiftIn) {
            if (m_set == Kana)
                m_set = m_shiftedFrom;
        } else if (b <= 0x20 || b == 0x7F) {
            return static_cast<char>(b);
        } else if (b >= 0x80) {
            continue;
        } else if (m_set == Ascii) {
            return static_cast<char>(b);
        } else if (m_set == Kana) {
            if (b <= 0x5F)
                return writeKana(b | 0x80);
        } else {
            const uint32_t cell = input();
            if (cell >= 0x21 && cell <= 0x7E)
                return writeJis0208((b << 8) | cell);
        }
    }
}

template class Converter<Iso2022JpDecoder, char, uint8_t>;

} // namespace KILN
