#include "kiln/base/XMLCharCheck.h"

#include "kiln/base/XMLParseError.h"

#include <string>

namespace KILN {

namespace {

bool isAllowedControl(unsigned short unit)
{
    return unit == 0x9 || unit == 0xA || unit == 0xD;
}

[[noreturn]] void fail(int32_t code, const std::string& where)
{
    throw XMLParseError(code, TString<char>(where.c_str()));
}

} // namespace

void checkXmlCharacters(const unsigned short* text, uint32_t length)
{
    uint32_t line = 1;
    uint32_t lineStart = 0;
    uint32_t pairs = 0; // surrogate pairs on the line, one character each
    for (uint32_t i = 0; i < length; ++i) {
        const unsigned short unit = text[i];
        // Most units lie between the controls and the surrogates.
        if (unit >= 0x20 && unit < 0xD800)
            continue;
        if (unit == '\n') {
            ++line;
            lineStart = i + 1;
            pairs = 0;
            continue;
        }
        bool allowed = isAllowedControl(unit) || (unit >= 0xE000 && unit <= 0xFFFD);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            allowed = true;
            ++i;
            ++pairs;
        }
        if (!allowed)
            fail(XMLParseError::NOT_A_CHARACTER,
                 "line " + std::to_string(line) + ", column " + std::to_string(i - lineStart - pairs + 1));
    }
}

void throwAtByte(int32_t code, const uint8_t* bytes, uint32_t offset)
{
    uint32_t line = 1;
    for (uint32_t i = 0; i < offset; ++i)
        line += bytes[i] == '\n';
    fail(code, "line " + std::to_string(line) + ", byte offset " + std::to_string(offset));
}

} // namespace KILN
