#include "kiln/base/Attr.h"

namespace KILN {

Attr::Attr(Document* document, const TStringPtr<unsigned short>& name)
    : Node(document, ATTRIBUTE_NODE, &name)
{
}

Attr::Attr(const Attr& source)
    : Node(source, ATTRIBUTE_NODE), m_specified(source.m_specified)
{
}

Node* Attr::cloneNode(bool) const
{
    return new Attr(*this);
}

} // namespace KILN
