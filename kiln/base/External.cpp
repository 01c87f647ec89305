#include "kiln/base/External.h"

#include "kiln/base/XMLOutputter.h"

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

bool External::outputExternalId(XMLOutputter& outputter) const
{
    if (m_publicId) {
        outputter.writeAscii("PUBLIC ");
        outputter.writeLiteral(*m_publicId);
        // The parser always reads both; a node built without a system
        // identifier gets none written rather than an invented one.
        if (m_systemId) {
            outputter.put(' ');
            outputter.writeLiteral(*m_systemId);
        }
        return true;
    }
    if (m_systemId) {
        outputter.writeAscii("SYSTEM ");
        outputter.writeLiteral(*m_systemId);
        return true;
    }
    return false;
}

} // namespace KILN
