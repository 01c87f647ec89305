#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// Base of the converters from the ISO 8859 parts to UCS-2: each byte maps
// through the part's 256-entry table; unassigned bytes (FFFF) are skipped.
class From8859ToUcs2 : public Converter<From8859ToUcs2, unsigned short, uint8_t> {
protected:
    explicit From8859ToUcs2(const uint16_t (&table)[256]) : m_table(table) {}

private:
    friend Converter;

    unsigned short convert()
    {
        for (;;) {
            const uint16_t unit = m_table[input()];
            if (unit != 0xFFFF)
                return unit;
        }
    }

    const uint16_t (&m_table)[256];
};

} // namespace KILN
