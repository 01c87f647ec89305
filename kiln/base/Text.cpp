#include "kiln/base/Text.h"

namespace KILN {

Text::Text(Document* document, const TStringPtr<unsigned short>* text)
    : CharacterData(document, TEXT_NODE, "#text", text)
{
}

Node* Text::cloneNode(bool) const
{
    return new Text(getOwnerDocument(), getNodeValue());
}

} // namespace KILN
