#include "kiln/base/XMLParseReport.h"

namespace KILN {

namespace {

// Units of an excerpt on either side of its place.
constexpr uint32_t ExcerptSide = 15;

bool isLowSurrogate(unsigned short unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

void advancePosition(XMLSourcePosition& position, const unsigned short* from, const unsigned short* to)
{
    for (const unsigned short* p = from; p < to; ++p) {
        if (*p == '\n') {
            ++position.line;
            position.column = 1;
        } else if (!isLowSurrogate(*p) && *p != '\r') {
            ++position.column;
        }
    }
}

Utf16String excerptAround(const unsigned short* first, const unsigned short* at, const unsigned short* end)
{
    const unsigned short* from = at;
    while (from > first && static_cast<uint32_t>(at - from) < ExcerptSide && from[-1] != '\n')
        --from;
    if (from < at && isLowSurrogate(*from))
        ++from;
    const unsigned short* to = at;
    while (to < end && static_cast<uint32_t>(to - at) < ExcerptSide && *to != '\n' && *to != '\r')
        ++to;
    if (to < end && to > at && isLowSurrogate(*to))
        ++to;
    Utf16String text(from, static_cast<uint32_t>(to - from));
    for (uint32_t i = 0; i < text.length(); ++i) {
        if (text[i] < 0x20 || text[i] == 0x7F)
            text.data()[i] = ' ';
    }
    return text;
}

} // namespace KILN
