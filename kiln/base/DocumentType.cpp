#include "kiln/base/DocumentType.h"

#include "kiln/base/Document.h"
#include "kiln/base/Iterator.h"
#include "kiln/base/XMLOutputter.h"

#include <memory>

namespace KILN {

DocumentType::DocumentType(Document* document)
    : External(document, DOCUMENT_TYPE_NODE, Utf16String()), m_elements(this), m_entities(this),
      m_parameterEntities(this), m_notations(this)
{
}

DocumentType::DocumentType(const DocumentType& source)
    : External(source), m_elements(this), m_entities(this), m_parameterEntities(this), m_notations(this)
{
}

DocumentType::~DocumentType()
{
    for (uint32_t i = 0; i < m_superseded.count(); ++i)
        delete m_superseded.atIndex(i);
}

Node* DocumentType::cloneNode(bool) const
{
    return new DocumentType(*this);
}

void DocumentType::setName(const TStringPtr<unsigned short>& name)
{
    setNodeNameAtom(getOwnerDocument()->names().intern(name));
}

void DocumentType::registerDeclaration(NamedNodeMap& map, Node* declaration)
{
    if (Node* replaced = map.setNamedItem(declaration))
        m_superseded.add(replaced);
    m_declarations.add(declaration);
}

void DocumentType::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<!DOCTYPE ");
    outputter.write(*getNodeName());
    if (getPublicId() || getSystemId()) {
        outputter.put(' ');
        outputExternalId(outputter);
    }
    if (!m_declarations.isEmpty()) {
        outputter.writeAscii(" [");
        const std::unique_ptr<Iterator<Node>> it(m_declarations.iterator());
        while (it->hasNext())
            it->next()->output(outputter);
        outputter.put(']');
    }
    outputter.put('>');
}

} // namespace KILN
