#include "kiln/base/DtdPEntity.h"

#include "kiln/base/XMLOutputter.h"

namespace KILN {

DtdPEntity::DtdPEntity(Document* document, const TStringPtr<unsigned short>& name)
    : External(document, DTD_PENTITY_NODE, name)
{
}

Node* DtdPEntity::cloneNode(bool) const
{
    return new DtdPEntity(*this);
}

void DtdPEntity::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<!ENTITY % ");
    outputter.write(*getNodeName());
    outputter.put(' ');
    if (!outputExternalId(outputter))
        outputter.writeLiteral(*getNodeValue());
    outputter.writeAscii(" >");
}

} // namespace KILN
