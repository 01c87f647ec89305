#pragma once

#include "kiln/base/MappedUnits.h"
#include "kiln/base/NDLinkListNode.h"
#include "kiln/base/Utf16String.h"
#include "kiln/base/XMLParseReport.h"

namespace KILN {

// One source of the parser's input stack: the document text or an entity's
// replacement text, with its read cursor. An owned text goes with the unit,
// and its pages behind the cursor go back to the system as the cursor moves
// on: the parser never reads behind it.
class XMLParserSrcUnit : public NDLinkListNode<XMLParserSrcUnit> {
public:
    // Reads text that someone else keeps alive while the unit exists.
    XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length);
    // Reads, and owns, the length units of text.
    XMLParserSrcUnit(const char* name, MappedUnits text, uint32_t length);
    XMLParserSrcUnit(const XMLParserSrcUnit&) = delete;
    XMLParserSrcUnit& operator=(const XMLParserSrcUnit&) = delete;
    ~XMLParserSrcUnit() override = default;

    const Utf16String& name() const { return m_name; }
    bool isEntity() const { return m_isEntity; }

    // Called after the cursor has moved and before it reaches the end: gives
    // back the owned text read so far once a step more of it has been read.
    void advanced()
    {
        if (cursor >= m_releaseMark)
            releaseRead();
    }

    // The line and column of the cursor in the text; counted as the cursor
    // moves on, so that asking again and again costs linear time in all.
    XMLSourcePosition position();
    // About thirty characters of the cursor's line around it, with control
    // characters shown as spaces.
    Utf16String excerpt() const;

    const unsigned short* cursor = nullptr;
    const unsigned short* end = nullptr;

private:
    void releaseRead();
    void countUpTo(const unsigned short* p);

    Utf16String m_name;
    MappedUnits m_ownedText;
    // Where the cursor next makes advanced() give text back; the end for a
    // text the unit does not own (the cursor is never at the end there).
    const unsigned short* m_releaseMark = nullptr;
    bool m_isEntity;
    // The text is counted up to m_counted; units before m_kept are given back.
    const unsigned short* m_counted = nullptr;
    const unsigned short* m_kept = nullptr;
    XMLSourcePosition m_countedPosition;
};

} // namespace KILN
