#include "kiln/base/DocumentType.h"

#include "kiln/base/Document.h"

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
        delete m_superseded.at(i);
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

} // namespace KILN
