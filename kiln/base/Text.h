#pragma once

#include "kiln/base/CharacterData.h"

namespace KILN {

// Character data between markup, named "#text".
class Text : public CharacterData {
public:
    // A null text gives an empty node.
    Text(Document* document, const TStringPtr<unsigned short>* text);

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

protected:
    Text(Document* document, uint16_t nodeType, const char* nodeName, const TStringPtr<unsigned short>* text)
        : CharacterData(document, nodeType, nodeName, text) {}
};

} // namespace KILN
