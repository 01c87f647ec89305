#pragma once

#include "kiln/base/Converter.h"
#include "kiln/base/SparseCodeTable.h"

namespace KILN {

// Base of the converters from Shift_JIS and code page 932 to UCS-2: bytes
// 00-1F and 7F are answered as they are; 20-7E and the half-width katakana
// A1-DF map through the table; a lead byte takes the next byte and the pair
// maps through the table, answering FFFF when it has no mapping; any other
// byte is skipped. A lead byte followed by a byte below 40, which no pair
// has, answers FFFF alone and that byte (often a line break) is read as
// usual. Which high bytes lead is the encoding's choice.
class DoubleByteDecoder : public Converter<DoubleByteDecoder, unsigned short, uint8_t> {
protected:
    // everyHighByteLeads: every byte 80-FF outside the katakana leads (code
    // page 932); otherwise only 81-9F and E0-FC do (Shift_JIS).
    DoubleByteDecoder(const SparseCodeTable& table, bool everyHighByteLeads)
        : m_table(table), m_everyHighByteLeads(everyHighByteLeads) {}

private:
    friend Converter;

    unsigned short convert();
    // The same for a run of bytes, a pair taken whole when both are in it.
    void convertRun(const uint8_t*& next, const uint8_t* end, unsigned short*& dest, unsigned short* destEnd);

    const SparseCodeTable& m_table;
    const bool m_everyHighByteLeads;
    // A byte read as a trail that turned out to start the next character.
    int32_t m_pending = -1;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<DoubleByteDecoder, unsigned short, uint8_t>;

} // namespace KILN
