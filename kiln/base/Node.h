#pragma once

#include "kiln/base/NDLinkList.h"
#include "kiln/base/NNodeList.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/Utf16String.h"

#include <cstdint>

namespace KILN {

class Document;
struct NodeBranch;
class XMLOutputter;

// A node of the XML document tree: its place among its siblings (the links of
// the parent's intrusive child list), its owning child list and attribute map,
// its interned names and its value. Destroying a node destroys its subtree.
//
// A book's tree has millions of nodes, most of them text, so a node holds
// only what every node needs. An element holds its child list and attribute
// map itself, and text, comments and attributes their value; what other
// nodes seldom need (those containers, a value, namespace names) is kept in
// a record made on first use.
class Node : public NDLinkListNode<Node> {
public:
    enum NodeType : uint16_t {
        ELEMENT_NODE = 1,
        ATTRIBUTE_NODE = 2,
        TEXT_NODE = 3,
        CDATA_SECTION_NODE = 4,
        ENTITY_NODE = 6,
        PROCESSING_INSTRUCTION_NODE = 7,
        COMMENT_NODE = 8,
        DOCUMENT_NODE = 9,
        DOCUMENT_TYPE_NODE = 10,
        DOCUMENT_FRAGMENT_NODE = 11,
        NOTATION_NODE = 12,
        XML_DECL_NODE = 1000,
        DTD_ELEMENT_NODE = 1001,
        DTD_ATTLIST_NODE = 1002,
        DTD_PENTITY_NODE = 1003,
    };

    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node() override;

    // The tree's links and the node's type are the same for every kind of
    // node: final, so that walks over the tree read them without a call.
    virtual uint16_t getNodeType() const final { return m_nodeType; }
    virtual Node* getParentNode() const final { return m_parent; }
    virtual const Utf16String* getNodeName() const;
    virtual const Utf16String* getNodeValue() const;
    virtual void setNodeValue(const unsigned short* units, uint32_t length);
    virtual void setNodeValue(const unsigned short* zeroTerminated);
    virtual void setNodeValue(const Utf16String& value);
    virtual const Utf16String* getPrefix() const;
    virtual void setPrefix(const unsigned short* zeroTerminated);
    virtual void setPrefix(const Utf16String& prefix);
    // A null prefix clears it.
    virtual void setPrefix(const Utf16String* prefix);
    virtual const Utf16String* getLocalName() const;
    virtual const Utf16String* getNamespaceURI() const;
    virtual NNodeList* getChildNodes();
    virtual Node* getFirstChild() const;
    virtual Node* getLastChild() const;
    virtual Node* getPreviousSibling() const final { return previousInList(); }
    virtual Node* getNextSibling() const final { return nextInList(); }
    virtual NamedNodeMap* getAttributes() const;
    virtual Document* getOwnerDocument() const;

    // The child-list operations neither detach newChild from a former parent
    // nor check that refChild or oldChild is a child of this node; a null
    // argument raises DOMException 8.
    virtual Node* insertBefore(Node* newChild, Node* refChild);
    virtual Node* insertAfter(Node* newChild, Node* refChild);
    virtual Node* replaceChild(Node* newChild, Node* oldChild);
    virtual Node* removeChild(Node* oldChild);
    virtual Node* appendChild(Node* newChild);
    virtual bool hasChildNodes() const;

    // A copy that keeps this node's owner document and atoms; null for the
    // classes that cannot be copied.
    virtual Node* cloneNode(bool deep) const;
    // Writes the node through the serializer; a plain node writes nothing.
    virtual void output(XMLOutputter& outputter) const;

    // 1 when the parser saw a start tag directly followed by its end tag.
    uint32_t explicitEndTag() const { return m_explicitEndTag; }
    void setExplicitEndTag(uint32_t value) { m_explicitEndTag = value; }
    // The value itself, for the parser to append to.
    Utf16String& mutableValue();
    // Sets all three namespace names at once (atoms of the owner document).
    void setNamespace(const Utf16String* namespaceURI, const Utf16String* prefix, const Utf16String* localName);

protected:
    // nodeName is interned into the document's names; a null document is
    // only passed by the Document itself, which then points to itself.
    Node(Document* document, uint16_t nodeType, const TStringPtr<unsigned short>* nodeName);
    // A node of the same class and names as source (for cloneNode); the value
    // is copied unless the subclass holds it, which then copies it itself.
    Node(const Node& source, uint16_t nodeType);

    // The branch a subclass holds itself, or null; such a subclass destroys
    // its children in its destructor, before the storage goes.
    virtual NodeBranch* inlineBranch() const;
    // The value a subclass holds itself, or null.
    virtual Utf16String* valueStorage();
    void setOwnerDocumentToSelf(Document* self) { m_ownerDocument = self; }
    void setNodeNameAtom(const Utf16String* atom) { m_nodeName = atom; }
    // Destroys the subtree without recursion, so that a deep tree cannot
    // exhaust the stack.
    void destroyChildren();

private:
    // What few nodes need: see the class comment.
    struct RareData;

    RareData& rareData() const;
    // The branch, made when first asked for; the branch if there is one.
    NodeBranch& branch() const;
    NodeBranch* existingBranch() const;
    // The value if there is one.
    const Utf16String* storedValue() const;
    Node* linkedChild(Node* newChild, bool linked);

    Document* m_ownerDocument;
    Node* m_parent = nullptr;
    uint16_t m_nodeType;
    uint32_t m_explicitEndTag = 0;
    const Utf16String* m_nodeName = nullptr;
    // Null until something of RareData is needed: in a parsed XHTML document
    // (no namespace processing) no element or text has it.
    mutable RareData* m_rare = nullptr;
};

} // namespace KILN
