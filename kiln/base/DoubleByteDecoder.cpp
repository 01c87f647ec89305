#include "kiln/base/DoubleByteDecoder.h"

namespace KILN {

unsigned short DoubleByteDecoder::convert()
{
    for (;;) {
        const uint32_t b = input();
        if (b < 0x20 || b == 0x7F)
            return static_cast<unsigned short>(b);
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF))
            return m_table.lookup(b);
        const bool leads = m_everyHighByteLeads || (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (leads)
            return m_table.lookup((b << 8) | input());
    }
}

} // namespace KILN
