#pragma once

#include "kiln/base/Node.h"
#include "kiln/base/NodeBranch.h"

namespace KILN {

class Attr;
class XNodeList;

// An element: its tag name (and namespace names), its attributes and its
// children, with the lookups and attribute setters the conversion model uses.
class Element : public Node {
public:
    Element(Document* document, const TStringPtr<unsigned short>& name);
    // prefix is the part of qualifiedName before its first ':' (empty when
    // there is none), localName the part after it (else the whole name).
    Element(Document* document, const TStringPtr<unsigned short>& namespaceURI, const TStringPtr<unsigned short>& qualifiedName);
    ~Element() override;

    // Attributes are copied only by a deep clone.
    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

    // The first child element (not descendant) of that name, or null.
    Element* getFirstChildElement(const TStringPtr<unsigned short>& name) const;
    Element* getFirstChildElement(const unsigned short* name) const;
    Element* getFirstChildElementNS(const TStringPtr<unsigned short>& localName, const TStringPtr<unsigned short>& namespaceURI) const;
    // Every node of the subtree, this element first, in document order, whose
    // name is name; "*" selects every node. The caller deletes the list.
    XNodeList* getElementsByTagName(const TStringPtr<unsigned short>& name) const;

    // Replaces the value of the attribute of that name or adds one; a null
    // value gives an empty one.
    void setAttribute(const TStringPtr<unsigned short>& name, const TStringPtr<unsigned short>* value);
    void setAttribute(const unsigned short* name, const unsigned short* value);
    void setAttributeNS(const TStringPtr<unsigned short>& namespaceURI, const TStringPtr<unsigned short>& qualifiedName, const TStringPtr<unsigned short>* value);
    // Null when no attribute has these names.
    Attr* getAttributeNodeNS(const TStringPtr<unsigned short>& namespaceURI, const TStringPtr<unsigned short>& localName) const;

protected:
    NodeBranch* inlineBranch() const override;

private:
    Element(const Element& source, bool withAttributes);

    // Held here rather than made apart: one allocation less per element.
    NodeBranch m_branchStorage;
};

} // namespace KILN
