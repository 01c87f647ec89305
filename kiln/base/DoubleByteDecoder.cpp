#include "kiln/base/DoubleByteDecoder.h"

namespace KILN {

unsigned short DoubleByteDecoder::convert()
{
    if (m_fresh)
        m_pending = -1;
    for (;;) {
        uint32_t b;
        if (m_pending >= 0) {
            b = static_cast<uint32_t>(m_pending);
            m_pending = -1;
        } else {
            b = input();
        }
        if (b < 0x20 || b == 0x7F)
            return static_cast<unsigned short>(b);
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF))
            return m_table.lookup(b);
        const bool leads = m_everyHighByteLeads || (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (leads) {
            const uint32_t trail = input();
            if (trail >= 0x40)
                return m_table.lookup((b << 8) | trail);
            m_pending = static_cast<int32_t>(trail);
            return SparseCodeTable::Absent;
        }
    }
}

void DoubleByteDecoder::convertRun(const uint8_t*& next, const uint8_t* end, unsigned short*& dest,
                                   unsigned short* destEnd)
{
    if (m_pending >= 0)
        return;
    while (next != end && dest != destEnd) {
        const uint32_t b = *next;
        if (b < 0x20 || b == 0x7F) {
            *dest++ = static_cast<unsigned short>(b);
            ++next;
        } else if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) {
            *dest++ = m_table.lookup(b);
            ++next;
        } else if (m_everyHighByteLeads || (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (end - next < 2)
                return;
            const uint32_t trail = next[1];
            // A byte below 40 trails no pair: the lead answers FFFF alone and
            // the byte is read afresh.
            *dest++ = trail >= 0x40 ? m_table.lookup((b << 8) | trail) : SparseCodeTable::Absent;
            next += trail >= 0x40 ? 2 : 1;
        } else {
            ++next;
        }
    }
}

template class Converter<DoubleByteDecoder, unsigned short, uint8_t>;

} // namespace KILN
