#pragma once

#include "kiln/base/NDLinkListNode.h"
#include "kiln/base/Utf16String.h"

namespace KILN {

// One source of the parser's input stack: the document text or an entity's
// replacement text, with its read cursor. An owned text goes with the unit.
class XMLParserSrcUnit : public NDLinkListNode<XMLParserSrcUnit> {
public:
    // Reads text that someone else keeps alive while the unit exists.
    XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length);
    // Reads, and owns, the text.
    XMLParserSrcUnit(const char* name, Utf16String&& text);
    XMLParserSrcUnit(const XMLParserSrcUnit&) = delete;
    XMLParserSrcUnit& operator=(const XMLParserSrcUnit&) = delete;
    ~XMLParserSrcUnit() override;

    const Utf16String& name() const { return m_name; }
    bool isEntity() const { return m_isEntity; }

    const unsigned short* cursor = nullptr;
    const unsigned short* end = nullptr;

private:
    Utf16String m_name;
    Utf16String* m_ownedText = nullptr;
    bool m_isEntity;
};

} // namespace KILN
