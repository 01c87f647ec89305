#pragma once

#include "kiln/base/NDLinkList.h"
#include "kiln/base/XMLParserSrcUnit.h"

namespace KILN {

// The parser's input: a stack of sources, the front one read first. A unit
// pushed at the front is read next (an entity's replacement text in the place
// of its reference); a unit read to its end is dropped. Reads look across the
// units as one text.
class XMLParserSrc {
public:
    XMLParserSrc() : m_units(true) {}
    XMLParserSrc(const XMLParserSrc&) = delete;
    XMLParserSrc& operator=(const XMLParserSrc&) = delete;

    // Takes ownership of unit; an empty unit is dropped at once.
    void push(XMLParserSrcUnit* unit);
    bool atEnd() const { return m_units.isEmpty(); }
    // The unit read first (the document text before any entity is read).
    const XMLParserSrcUnit* front() const { return m_units.first(); }
    // The unit at offset ahead of the read position, or -1 past the end.
    int peek(uint32_t ahead = 0) const;
    // True when the next units equal the ASCII literal; consumes nothing.
    bool match(const char* literal) const;
    // Advances over n units (fewer when the input ends first).
    void consume(uint32_t n = 1);
    // The number of replacement texts of entities being read.
    uint32_t entityDepth() const { return m_entityDepth; }
    // Where the document text (not an entity's replacement text) is being
    // read, and an excerpt around it; past its end once it has been read.
    XMLSourcePosition position();
    Utf16String excerpt() const;

    // Appends to out the units before the first one for which stop answers
    // true (or the end of input) and consumes them; answers their number.
    template <class Stop>
    uint32_t copyUntil(Utf16String& out, Stop stop);

private:
    void dropFront();
    // The unit of the document text, or null once it has been read.
    XMLParserSrcUnit* documentUnit() const;

    NDLinkList<XMLParserSrcUnit> m_units;
    uint32_t m_entityDepth = 0;
    XMLSourcePosition m_endPosition;
    Utf16String m_endExcerpt;
};

inline int XMLParserSrc::peek(uint32_t ahead) const
{
    for (const XMLParserSrcUnit* unit = m_units.first(); unit; unit = unit->nextInList()) {
        const uint32_t left = static_cast<uint32_t>(unit->end - unit->cursor);
        if (ahead < left)
            return unit->cursor[ahead];
        ahead -= left;
    }
    return -1;
}

template <class Stop>
uint32_t XMLParserSrc::copyUntil(Utf16String& out, Stop stop)
{
    uint32_t copied = 0;
    while (XMLParserSrcUnit* unit = m_units.first()) {
        const unsigned short* p = unit->cursor;
        while (p < unit->end && !stop(*p))
            ++p;
        const uint32_t run = static_cast<uint32_t>(p - unit->cursor);
        out.append(unit->cursor, run);
        copied += run;
        unit->cursor = p;
        if (p < unit->end) {
            unit->advanced();
            break;
        }
        dropFront();
    }
    return copied;
}

} // namespace KILN
