#pragma once

#include "kiln/base/Node.h"

namespace KILN {

// A node whose content is its text (the node's value): text, CDATA sections
// and comments.
class CharacterData : public Node {
protected:
    // The value is a copy of text of its exact size; a null text gives an
    // empty one.
    CharacterData(Document* document, uint16_t nodeType, const char* nodeName, const TStringPtr<unsigned short>* text);
    // The same with the name already an atom of the document's names.
    CharacterData(Document* document, uint16_t nodeType, const Utf16String* nodeName,
                  const TStringPtr<unsigned short>* text);

    Utf16String* valueStorage() override;

private:
    Utf16String m_text;
};

} // namespace KILN
