#include "kiln/base/Attr.h"

#include "kiln/base/XMLOutputter.h"

namespace KILN {

Attr::Attr(Document* document, const TStringPtr<unsigned short>& name, const TStringPtr<unsigned short>* value)
    : Node(document, ATTRIBUTE_NODE, &name), m_text(value ? Utf16String(*value) : Utf16String())
{
}

Attr::Attr(const Attr& source)
    : Node(source, ATTRIBUTE_NODE), m_text(*source.getNodeValue()), m_specified(source.m_specified)
{
}

Utf16String* Attr::valueStorage()
{
    return &m_text;
}

Node* Attr::cloneNode(bool) const
{
    return new Attr(*this);
}

void Attr::output(XMLOutputter& outputter) const
{
    outputter.write(*getNodeName());
    outputter.writeAscii("=\"");
    outputter.writeEscaped(*getNodeValue());
    outputter.put('"');
}

} // namespace KILN
