#include "kiln/base/External.h"

namespace KILN {

External::External(Document* document, uint16_t nodeType, const TStringPtr<unsigned short>& name)
    : Node(document, nodeType, &name)
{
}

External::External(const External& source)
    : Node(source, source.getNodeType())
{
    setPublicId(source.m_publicId);
    setSystemId(source.m_systemId);
}

External::~External()
{
    delete m_publicId;
    delete m_systemId;
}

void External::replace(Utf16String*& field, const TStringPtr<unsigned short>* id)
{
    delete field;
    field = id ? new Utf16String(*id) : nullptr;
}

} // namespace KILN
