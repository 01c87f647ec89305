#include "kiln/base/XMLCharClass.h"

#include "kiln/base/XMLCharRanges.h"

namespace KILN {

namespace {

struct ClassTable {
    uint8_t bits[0x10000] = {};

    template <unsigned N>
    void mark(const XMLCharRanges::Range (&ranges)[N], uint8_t bit)
    {
        for (const XMLCharRanges::Range& range : ranges) {
            for (uint32_t unit = range.first; unit <= range.last; ++unit)
                bits[unit] |= bit;
        }
    }

    ClassTable()
    {
        mark(XMLCharRanges::BaseChar, XMLCharClass::BASE_CHAR);
        mark(XMLCharRanges::Ideographic, XMLCharClass::IDEOGRAPHIC);
        mark(XMLCharRanges::CombiningChar, XMLCharClass::COMBINING_CHAR);
        mark(XMLCharRanges::Digit, XMLCharClass::DIGIT);
        mark(XMLCharRanges::Extender, XMLCharClass::EXTENDER);
        bits['-'] |= XMLCharClass::NAME_PUNCTUATION;
        bits['.'] |= XMLCharClass::NAME_PUNCTUATION;
        bits['_'] |= XMLCharClass::NAME_PUNCTUATION | XMLCharClass::UNDERSCORE;
        bits[':'] |= XMLCharClass::COLON;
    }
};

} // namespace

const uint8_t* XMLCharClass::table()
{
    static const ClassTable classes;
    return classes.bits;
}

} // namespace KILN
