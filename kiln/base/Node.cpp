#include "kiln/base/Node.h"

#include "kiln/base/DOMException.h"
#include "kiln/base/Document.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/NodeBranch.h"

#include <memory>

namespace KILN {

struct Node::RareData {
    const Utf16String* prefix = nullptr;
    const Utf16String* localName = nullptr;
    const Utf16String* namespaceURI = nullptr;
    // For a node that holds no value of its own.
    std::unique_ptr<Utf16String> value;
    // For a node that holds no branch of its own.
    std::unique_ptr<NodeBranch> branch;
};

namespace {

// The value of every node that has none of its own.
const Utf16String* noValue()
{
    static const Utf16String empty;
    return &empty;
}

} // namespace

Node::Node(Document* document, uint16_t nodeType, const TStringPtr<unsigned short>* nodeName)
    : m_ownerDocument(document), m_nodeType(nodeType)
{
    if (document && nodeName)
        m_nodeName = document->names().intern(*nodeName);
}

Node::Node(const Node& source, uint16_t nodeType)
    : NDLinkListNode<Node>(), m_ownerDocument(source.m_ownerDocument), m_nodeType(nodeType),
      m_nodeName(source.m_nodeName)
{
    const RareData* rare = source.m_rare;
    if (!rare)
        return;
    setNamespace(rare->namespaceURI, rare->prefix, rare->localName);
    // Only a node without value storage of its own keeps its value here.
    if (rare->value && !rare->value->isEmpty())
        rareData().value = std::make_unique<Utf16String>(*rare->value);
}

Node::~Node()
{
    destroyChildren();
    delete m_rare;
}

Node::RareData& Node::rareData() const
{
    if (!m_rare)
        m_rare = new RareData();
    return *m_rare;
}

NodeBranch* Node::inlineBranch() const
{
    return nullptr;
}

Utf16String* Node::valueStorage()
{
    return nullptr;
}

NodeBranch& Node::branch() const
{
    if (NodeBranch* own = inlineBranch())
        return *own;
    std::unique_ptr<NodeBranch>& made = rareData().branch;
    if (!made)
        made = std::make_unique<NodeBranch>(const_cast<Node*>(this));
    return *made;
}

NodeBranch* Node::existingBranch() const
{
    if (NodeBranch* own = inlineBranch())
        return own;
    return m_rare ? m_rare->branch.get() : nullptr;
}

void Node::destroyChildren()
{
    // Each child hands its own children to the front of this list before it
    // is deleted, so every deletion is of a childless node and the depth of
    // the tree never turns into depth of the stack. Nodes go in document
    // order, the order in which the parser made them, which the allocator
    // frees fastest. The children move as one list: walking a long list
    // back to front, node by node, waited for memory at every step.
    NodeBranch* branch = existingBranch();
    if (!branch)
        return;
    NDLinkList<Node>& list = branch->children;
    while (Node* child = list.removeFirst()) {
        if (NodeBranch* grandChildren = child->existingBranch())
            list.prependAll(grandChildren->children);
        delete child;
    }
}

Utf16String& Node::mutableValue()
{
    if (Utf16String* own = valueStorage())
        return *own;
    std::unique_ptr<Utf16String>& made = rareData().value;
    if (!made)
        made = std::make_unique<Utf16String>();
    return *made;
}

const Utf16String* Node::storedValue() const
{
    if (const Utf16String* own = const_cast<Node*>(this)->valueStorage())
        return own;
    return m_rare ? m_rare->value.get() : nullptr;
}

const Utf16String* Node::getNodeName() const
{
    return m_nodeName;
}

const Utf16String* Node::getNodeValue() const
{
    const Utf16String* value = storedValue();
    return value ? value : noValue();
}

void Node::setNodeValue(const unsigned short* units, uint32_t length)
{
    mutableValue().assign(units, length);
}

void Node::setNodeValue(const unsigned short* zeroTerminated)
{
    mutableValue().assign(zeroTerminated, Utf16String::zeroTerminatedLength(zeroTerminated));
}

void Node::setNodeValue(const Utf16String& value)
{
    mutableValue().assign(value.data(), value.length());
}

const Utf16String* Node::getPrefix() const
{
    return m_rare ? m_rare->prefix : nullptr;
}

void Node::setPrefix(const unsigned short* zeroTerminated)
{
    rareData().prefix = m_ownerDocument->prefixes().intern(zeroTerminated, Utf16String::zeroTerminatedLength(zeroTerminated));
}

void Node::setPrefix(const Utf16String& prefix)
{
    rareData().prefix = m_ownerDocument->prefixes().intern(prefix);
}

void Node::setPrefix(const Utf16String* prefix)
{
    if (prefix)
        rareData().prefix = m_ownerDocument->prefixes().intern(*prefix);
    else if (m_rare)
        m_rare->prefix = nullptr;
}

const Utf16String* Node::getLocalName() const
{
    return m_rare ? m_rare->localName : nullptr;
}

const Utf16String* Node::getNamespaceURI() const
{
    return m_rare ? m_rare->namespaceURI : nullptr;
}

NNodeList* Node::getChildNodes()
{
    return &branch().childNodes;
}

Node* Node::getFirstChild() const
{
    const NodeBranch* branch = existingBranch();
    return branch ? branch->children.first() : nullptr;
}

Node* Node::getLastChild() const
{
    const NodeBranch* branch = existingBranch();
    return branch ? branch->children.last() : nullptr;
}

NamedNodeMap* Node::getAttributes() const
{
    return &branch().attributes;
}

Document* Node::getOwnerDocument() const
{
    return m_ownerDocument;
}

Node* Node::linkedChild(Node* newChild, bool linked)
{
    if (!linked)
        throw DOMException(DOMException::NOT_FOUND_ERR);
    newChild->m_parent = this;
    return newChild;
}

Node* Node::insertBefore(Node* newChild, Node* refChild)
{
    return linkedChild(newChild, newChild && refChild && branch().children.insertBefore(refChild, newChild));
}

Node* Node::insertAfter(Node* newChild, Node* refChild)
{
    return linkedChild(newChild, newChild && refChild && branch().children.insertAfter(refChild, newChild));
}

Node* Node::replaceChild(Node* newChild, Node* oldChild)
{
    linkedChild(newChild, newChild && oldChild && branch().children.replace(oldChild, newChild));
    oldChild->m_parent = nullptr;
    return newChild;
}

Node* Node::removeChild(Node* oldChild)
{
    if (!oldChild || !branch().children.remove(oldChild))
        throw DOMException(DOMException::NOT_FOUND_ERR);
    oldChild->m_parent = nullptr;
    return oldChild;
}

Node* Node::appendChild(Node* newChild)
{
    return linkedChild(newChild, newChild && branch().children.add(newChild));
}

bool Node::hasChildNodes() const
{
    const NodeBranch* branch = existingBranch();
    return branch && !branch->children.isEmpty();
}

Node* Node::cloneNode(bool) const
{
    return nullptr;
}

void Node::output(XMLOutputter&) const
{
}

void Node::setNamespace(const Utf16String* namespaceURI, const Utf16String* prefix, const Utf16String* localName)
{
    if (!m_rare && !namespaceURI && !prefix && !localName)
        return;
    RareData& names = rareData();
    names.namespaceURI = namespaceURI;
    names.prefix = prefix;
    names.localName = localName;
}

} // namespace KILN
