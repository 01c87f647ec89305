#pragma once

#include "kiln/base/AtomTable.h"
#include "kiln/base/Node.h"

namespace KILN {

class DOMImplementation;
class DocumentType;
class XMLDecl;

// An XML document: owns its tree, its atom tables (every name of its nodes
// points into them), its XML declaration (its first child) and its DOCTYPE,
// which joins the tree only when the source had one.
class Document : public Node {
public:
    // Raises DOMException 8 when the declaration cannot be appended.
    explicit Document(DOMImplementation* implementation);
    ~Document() override;

    // Writes every child in order.
    void output(XMLOutputter& outputter) const override;

    DOMImplementation* getImplementation() const { return m_implementation; }
    DocumentType* getDoctype() const { return m_doctype; }
    XMLDecl* getXMLDecl() const { return m_xmlDecl; }

    // Atoms: node names and local names, namespace URIs, prefixes.
    AtomTable& names() { return m_names; }
    AtomTable& namespaceURIs() { return m_namespaceURIs; }
    AtomTable& prefixes() { return m_prefixes; }
    // The atom "#text", which names most nodes of a tree.
    const Utf16String* textNodeName() const { return m_textNodeName; }

private:
    DOMImplementation* m_implementation;
    DocumentType* m_doctype = nullptr;
    AtomTable m_names;
    AtomTable m_namespaceURIs;
    AtomTable m_prefixes;
    const Utf16String* m_textNodeName = nullptr;
    XMLDecl* m_xmlDecl = nullptr;
};

} // namespace KILN
