#pragma once

#include "kiln/base/NDLinkListNode.h"
#include "kiln/base/Utf16String.h"

#include <cstdlib>
#include <memory>

namespace KILN {

// One source of the parser's input stack: the document text or an entity's
// replacement text, with its read cursor. An owned text goes with the unit.
class XMLParserSrcUnit : public NDLinkListNode<XMLParserSrcUnit> {
public:
    // Frees units from the runtime allocator, such as a decoded document.
    struct FreeUnits {
        void operator()(void* units) const { std::free(units); }
    };
    using OwnedUnits = std::unique_ptr<unsigned short[], FreeUnits>;

    // Reads text that someone else keeps alive while the unit exists.
    XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length);
    // Reads, and owns, the length units of text.
    XMLParserSrcUnit(const char* name, OwnedUnits text, uint32_t length);
    XMLParserSrcUnit(const XMLParserSrcUnit&) = delete;
    XMLParserSrcUnit& operator=(const XMLParserSrcUnit&) = delete;
    ~XMLParserSrcUnit() override = default;

    const Utf16String& name() const { return m_name; }
    bool isEntity() const { return m_isEntity; }

    const unsigned short* cursor = nullptr;
    const unsigned short* end = nullptr;

private:
    Utf16String m_name;
    OwnedUnits m_ownedText;
    bool m_isEntity;
};

} // namespace KILN
