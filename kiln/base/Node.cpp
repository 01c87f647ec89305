#include "kiln/base/Node.h"

#include "kiln/base/DOMException.h"
#include "kiln/base/Document.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/NodeBranch.h"

namespace KILN {

struct Node::NamespaceNames {
    const Utf16String* prefix = nullptr;
    const Utf16String* localName = nullptr;
    const Utf16String* namespaceURI = nullptr;
};

namespace {

// The value of every node that has none of its own.
const Utf16String* noValue()
{
    static const Utf16String empty;
    return &empty;
}

} // namespace

Node::Node(Document* document, uint16_t nodeType, const TStringPtr<unsigned short>* nodeName, Utf16String* valueStorage)
    : m_ownerDocument(document), m_nodeType(nodeType), m_value(valueStorage)
{
    if (document && nodeName)
        m_nodeName = document->names().intern(*nodeName);
}

Node::Node(const Node& source, uint16_t nodeType, Utf16String* valueStorage)
    : NDLinkListNode<Node>(), m_ownerDocument(source.m_ownerDocument), m_nodeType(nodeType),
      m_nodeName(source.m_nodeName), m_value(valueStorage)
{
    if (source.m_namespaceNames)
        namespaceNames() = *source.m_namespaceNames;
    if (!valueStorage && source.m_value && !source.m_value->isEmpty())
        mutableValue().assign(source.m_value->data(), source.m_value->length());
}

Node::~Node()
{
    destroyChildren();
    if (m_ownsBranch)
        delete m_branch;
    if (m_ownsValue)
        delete m_value;
    delete m_namespaceNames;
}

Node::NamespaceNames& Node::namespaceNames()
{
    if (!m_namespaceNames)
        m_namespaceNames = new NamespaceNames();
    return *m_namespaceNames;
}

NodeBranch& Node::branch() const
{
    if (!m_branch) {
        m_branch = new NodeBranch(const_cast<Node*>(this));
        m_ownsBranch = true;
    }
    return *m_branch;
}

void Node::releaseBranch()
{
    destroyChildren();
    m_branch = nullptr;
}

void Node::destroyChildren()
{
    // Each child hands its own children to the front of this list before it
    // is deleted, so every deletion is of a childless node and the depth of
    // the tree never turns into depth of the stack. Nodes go in document
    // order, the order in which the parser made them, which the allocator
    // frees fastest.
    if (!m_branch)
        return;
    NDLinkList<Node>& list = m_branch->children;
    while (Node* child = list.removeFirst()) {
        if (child->m_branch) {
            while (Node* grandChild = child->m_branch->children.removeLast())
                list.prepend(grandChild);
        }
        delete child;
    }
}

Utf16String& Node::mutableValue()
{
    if (!m_value) {
        m_value = new Utf16String();
        m_ownsValue = true;
    }
    return *m_value;
}

uint16_t Node::getNodeType() const
{
    return m_nodeType;
}

Node* Node::getParentNode() const
{
    return m_parent;
}

const Utf16String* Node::getNodeName() const
{
    return m_nodeName;
}

const Utf16String* Node::getNodeValue() const
{
    return m_value ? m_value : noValue();
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
    return m_namespaceNames ? m_namespaceNames->prefix : nullptr;
}

void Node::setPrefix(const unsigned short* zeroTerminated)
{
    namespaceNames().prefix = m_ownerDocument->prefixes().intern(zeroTerminated, Utf16String::zeroTerminatedLength(zeroTerminated));
}

void Node::setPrefix(const Utf16String& prefix)
{
    namespaceNames().prefix = m_ownerDocument->prefixes().intern(prefix);
}

void Node::setPrefix(const Utf16String* prefix)
{
    if (prefix)
        namespaceNames().prefix = m_ownerDocument->prefixes().intern(*prefix);
    else if (m_namespaceNames)
        m_namespaceNames->prefix = nullptr;
}

const Utf16String* Node::getLocalName() const
{
    return m_namespaceNames ? m_namespaceNames->localName : nullptr;
}

const Utf16String* Node::getNamespaceURI() const
{
    return m_namespaceNames ? m_namespaceNames->namespaceURI : nullptr;
}

NNodeList* Node::getChildNodes()
{
    return &branch().childNodes;
}

Node* Node::getFirstChild() const
{
    return m_branch ? m_branch->children.first() : nullptr;
}

Node* Node::getLastChild() const
{
    return m_branch ? m_branch->children.last() : nullptr;
}

Node* Node::getPreviousSibling() const
{
    return previousInList();
}

Node* Node::getNextSibling() const
{
    return nextInList();
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
    return m_branch && !m_branch->children.isEmpty();
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
    if (!m_namespaceNames && !namespaceURI && !prefix && !localName)
        return;
    NamespaceNames& names = namespaceNames();
    names.namespaceURI = namespaceURI;
    names.prefix = prefix;
    names.localName = localName;
}

} // namespace KILN
