#pragma once

#include "kiln/base/Node.h"

namespace KILN {

// A node whose content is its text (the node's value): text, CDATA sections
// and comments.
class CharacterData : public Node {
protected:
    CharacterData(Document* document, uint16_t nodeType, const char* nodeName, const TStringPtr<unsigned short>* text);
};

} // namespace KILN
