#pragma once

#include "kiln/base/NDLinkListNode.h"
#include "kiln/base/Utf16String.h"

namespace KILN {

// One source of the parser's input stack: the document text or an entity's
// replacement text, with its read cursor. An owned text is freed with the unit.
class XMLParserSrcUnit : public NDLinkListNode<XMLParserSrcUnit> {
public:
    // Takes ownership of text (a runtime-allocator buffer) when owns is set.
    XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length, bool owns);
    XMLParserSrcUnit(const XMLParserSrcUnit&) = delete;
    XMLParserSrcUnit& operator=(const XMLParserSrcUnit&) = delete;
    ~XMLParserSrcUnit() override;

    const Utf16String& name() const { return m_name; }
    bool isEntity() const { return m_isEntity; }

    const unsigned short* cursor = nullptr;
    const unsigned short* end = nullptr;

private:
    Utf16String m_name;
    const unsigned short* m_text;
    bool m_owns;
    bool m_isEntity;
};

} // namespace KILN
