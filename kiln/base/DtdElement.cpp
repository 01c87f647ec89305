#include "kiln/base/DtdElement.h"

#include "kiln/base/XMLOutputter.h"

namespace KILN {

DtdElement::DtdElement(Document* document, const TStringPtr<unsigned short>& name)
    : Node(document, DTD_ELEMENT_NODE, &name), m_contentModel(document)
{
}

void DtdElement::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<!ELEMENT ");
    outputter.write(*getNodeName());
    outputter.put(' ');
    m_contentModel.output(outputter);
    outputter.writeAscii(" >");
}

} // namespace KILN
