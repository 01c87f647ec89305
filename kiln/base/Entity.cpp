#include "kiln/base/Entity.h"

#include "kiln/base/XMLOutputter.h"

namespace KILN {

Entity::Entity(Document* document, const TStringPtr<unsigned short>& name)
    : External(document, ENTITY_NODE, name)
{
}

Entity::~Entity()
{
    delete m_notationName;
}

Node* Entity::cloneNode(bool) const
{
    return new Entity(*this);
}

void Entity::setNotationName(const TStringPtr<unsigned short>& name)
{
    delete m_notationName;
    m_notationName = new Utf16String(name);
}

void Entity::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<!ENTITY ");
    outputter.write(*getNodeName());
    outputter.put(' ');
    if (outputExternalId(outputter)) {
        if (m_notationName) {
            outputter.writeAscii(" NDATA ");
            outputter.write(*m_notationName);
        }
    } else {
        outputter.put('"');
        outputter.writeEscaped(m_replacementText);
        outputter.put('"');
    }
    outputter.writeAscii(" >");
}

} // namespace KILN
