#include "kiln/base/CDATASection.h"

#include "kiln/base/XMLOutputter.h"

namespace KILN {

CDATASection::CDATASection(Document* document, const TStringPtr<unsigned short>& text)
    : Text(document, TEXT_NODE, "#cdata-section", &text)
{
}

CDATASection::CDATASection(Document* document, uint16_t nodeType, const TStringPtr<unsigned short>& text)
    : Text(document, nodeType, "#cdata-section", &text)
{
}

Node* CDATASection::cloneNode(bool) const
{
    return new CDATASection(getOwnerDocument(), CDATA_SECTION_NODE, *getNodeValue());
}

void CDATASection::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<![CDATA[");
    outputter.write(*getNodeValue());
    outputter.writeAscii("]]>");
}

} // namespace KILN
