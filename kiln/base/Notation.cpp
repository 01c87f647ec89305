#include "kiln/base/Notation.h"

#include "kiln/base/XMLOutputter.h"

namespace KILN {

Notation::Notation(Document* document, const TStringPtr<unsigned short>& name)
    : External(document, NOTATION_NODE, name)
{
}

Node* Notation::cloneNode(bool) const
{
    return new Notation(*this);
}

void Notation::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<!NOTATION ");
    outputter.write(*getNodeName());
    outputter.put(' ');
    outputExternalId(outputter);
    outputter.writeAscii(" >");
}

} // namespace KILN
