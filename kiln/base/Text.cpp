#include "kiln/base/Text.h"

#include "kiln/base/Document.h"
#include "kiln/base/XMLOutputter.h"

namespace KILN {

Text::Text(Document* document, const TStringPtr<unsigned short>* text)
    : CharacterData(document, TEXT_NODE, document->textNodeName(), text)
{
}

Node* Text::cloneNode(bool) const
{
    return new Text(getOwnerDocument(), getNodeValue());
}

void Text::output(XMLOutputter& outputter) const
{
    outputter.writeEscaped(*getNodeValue());
}

} // namespace KILN
