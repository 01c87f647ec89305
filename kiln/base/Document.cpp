#include "kiln/base/Document.h"

#include "kiln/base/DOMException.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/XMLDecl.h"
#include "kiln/base/XMLOutputter.h"

namespace KILN {

Document::Document(DOMImplementation* implementation)
    : Node(nullptr, DOCUMENT_NODE, nullptr), m_implementation(implementation)
{
    setOwnerDocumentToSelf(this);
    setNodeNameAtom(m_names.internAscii("#document"));
    m_textNodeName = m_names.internAscii("#text");
    m_doctype = new DocumentType(this);
    m_xmlDecl = new XMLDecl(this);
    try {
        appendChild(m_xmlDecl);
    } catch (const DOMException&) {
        delete m_xmlDecl;
        delete m_doctype;
        throw;
    }
}

Document::~Document()
{
    // The DOCTYPE is ours to delete only while it is not in the tree.
    if (m_doctype->getParentNode() != this)
        delete m_doctype;
    // The nodes go before the atom tables that their names point into.
    destroyChildren();
}

void Document::output(XMLOutputter& outputter) const
{
    for (const Node* child = getFirstChild(); child; child = child->getNextSibling())
        child->output(outputter);
}

} // namespace KILN
