#include "kiln/base/XMLParserSrc.h"

namespace KILN {

void XMLParserSrc::push(XMLParserSrcUnit* unit)
{
    if (unit->cursor == unit->end) {
        delete unit;
        return;
    }
    m_units.prepend(unit);
    if (unit->isEntity())
        ++m_entityDepth;
}

void XMLParserSrc::dropFront()
{
    XMLParserSrcUnit* unit = m_units.removeFirst();
    if (unit->isEntity()) {
        --m_entityDepth;
    } else {
        // The unit is dropped once read to its end, whatever its cursor says.
        unit->cursor = unit->end;
        m_endPosition = unit->position();
        m_endExcerpt = unit->excerpt();
    }
    delete unit;
}

bool XMLParserSrc::match(const char* literal) const
{
    const XMLParserSrcUnit* unit = m_units.first();
    const unsigned short* p = unit ? unit->cursor : nullptr;
    for (; *literal; ++literal) {
        while (unit && p == unit->end) {
            unit = unit->nextInList();
            p = unit ? unit->cursor : nullptr;
        }
        if (!unit || *p != static_cast<unsigned char>(*literal))
            return false;
        ++p;
    }
    return true;
}

void XMLParserSrc::consume(uint32_t n)
{
    while (n > 0) {
        XMLParserSrcUnit* unit = m_units.first();
        if (!unit)
            return;
        const uint32_t left = static_cast<uint32_t>(unit->end - unit->cursor);
        if (n < left) {
            unit->cursor += n;
            unit->advanced();
            return;
        }
        n -= left;
        dropFront();
    }
}

XMLParserSrcUnit* XMLParserSrc::documentUnit() const
{
    XMLParserSrcUnit* unit = m_units.last();
    return unit && !unit->isEntity() ? unit : nullptr;
}

XMLSourcePosition XMLParserSrc::position()
{
    XMLParserSrcUnit* unit = documentUnit();
    return unit ? unit->position() : m_endPosition;
}

Utf16String XMLParserSrc::excerpt() const
{
    const XMLParserSrcUnit* unit = documentUnit();
    return unit ? unit->excerpt() : m_endExcerpt;
}

} // namespace KILN
