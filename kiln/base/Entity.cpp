#include "kiln/base/Entity.h"

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

} // namespace KILN
