#pragma once

#include <cstdint>

namespace KILN {

// The XML character classes of every UTF-16 code unit, as bits of a byte
// table: what may start and continue a Name or an Nmtoken, and whitespace.
class XMLCharClass {
public:
    enum Bits : uint8_t {
        BASE_CHAR = 0x01,
        IDEOGRAPHIC = 0x02,
        COMBINING_CHAR = 0x04,
        DIGIT = 0x08,
        EXTENDER = 0x10,
        NAME_PUNCTUATION = 0x20, // '-', '.', '_'
        UNDERSCORE = 0x40,
        COLON = 0x80,
        NAME_START = 0xC3,
        NAME_CHAR = 0xBF,
    };

    static uint8_t of(unsigned short unit) { return table()[unit]; }
    static bool isNameStart(unsigned short unit) { return (of(unit) & NAME_START) != 0; }
    static bool isNameChar(unsigned short unit) { return (of(unit) & NAME_CHAR) != 0; }
    static bool isSpace(unsigned short unit) { return unit == ' ' || unit == '\t' || unit == '\r' || unit == '\n'; }

private:
    static const uint8_t* table();
};

} // namespace KILN
