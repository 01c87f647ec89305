#pragma once

#include "kiln/base/ArrayList.h"
#include "kiln/base/External.h"
#include "kiln/base/LinkList.h"
#include "kiln/base/NamedNodeMap.h"

namespace KILN {

// The DOCTYPE of a document: the root element name, the external
// identifiers, and the internal subset as declaration maps (the latest
// declaration of a name wins) plus every item in source order.
class DocumentType : public External {
public:
    explicit DocumentType(Document* document);
    ~DocumentType() override;

    // A copy with the same name and identifiers and no declarations.
    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

    void setName(const TStringPtr<unsigned short>& name);

    NamedNodeMap& elements() { return m_elements; }
    NamedNodeMap& entities() { return m_entities; }
    NamedNodeMap& parameterEntities() { return m_parameterEntities; }
    NamedNodeMap& notations() { return m_notations; }
    const NamedNodeMap& elements() const { return m_elements; }
    const NamedNodeMap& entities() const { return m_entities; }
    const NamedNodeMap& parameterEntities() const { return m_parameterEntities; }
    const NamedNodeMap& notations() const { return m_notations; }
    // The internal-subset items in source order (not owned here).
    const LinkList<Node>& declarations() const { return m_declarations; }

    // Puts a new declaration into map, where it replaces one of the same
    // name, and appends it to the declarations.
    void registerDeclaration(NamedNodeMap& map, Node* declaration);
    // Appends an item that some other node owns (whitespace, comments and
    // processing instructions of the subset are children of this node,
    // attribute definitions children of their element declaration).
    void appendDeclaration(Node* item) { m_declarations.add(item); }

private:
    explicit DocumentType(const DocumentType& source);

    NamedNodeMap m_elements;
    NamedNodeMap m_entities;
    NamedNodeMap m_parameterEntities;
    NamedNodeMap m_notations;
    LinkList<Node> m_declarations;
    // Declarations replaced by a later one of the same name: still written
    // back through the declarations, so kept alive until the end.
    ArrayList<Node> m_superseded;
};

} // namespace KILN
