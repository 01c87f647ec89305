#include "kiln/base/Element.h"

#include "kiln/base/Attr.h"
#include "kiln/base/Document.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/base/XNodeList.h"

#include <memory>

namespace KILN {

namespace {

// Splits a qualified name at its first ':' into prefix and local name; the
// prefix is empty and the local name whole when there is no ':'.
struct QualifiedName {
    explicit QualifiedName(const TStringPtr<unsigned short>& name)
    {
        const unsigned short* units = name.data();
        const uint32_t length = name.length();
        uint32_t colon = 0;
        while (colon < length && units[colon] != ':')
            ++colon;
        if (colon == length) {
            prefixLength = 0;
            local = units;
            localLength = length;
        } else {
            prefixLength = colon;
            local = units + colon + 1;
            localLength = length - colon - 1;
        }
        prefix = units;
    }

    const unsigned short* prefix;
    uint32_t prefixLength;
    const unsigned short* local;
    uint32_t localLength;
};

void giveNamespace(Node* node, const TStringPtr<unsigned short>& namespaceURI, const TStringPtr<unsigned short>& qualifiedName)
{
    Document* document = node->getOwnerDocument();
    const QualifiedName parts(qualifiedName);
    node->setNamespace(document->namespaceURIs().intern(namespaceURI),
                       document->prefixes().intern(parts.prefix, parts.prefixLength),
                       document->names().intern(parts.local, parts.localLength));
}

} // namespace

Element::Element(Document* document, const TStringPtr<unsigned short>& name)
    : Node(document, ELEMENT_NODE, &name), m_branchStorage(this)
{
}

Element::Element(Document* document, const TStringPtr<unsigned short>& namespaceURI, const TStringPtr<unsigned short>& qualifiedName)
    : Node(document, ELEMENT_NODE, &qualifiedName), m_branchStorage(this)
{
    giveNamespace(this, namespaceURI, qualifiedName);
}

Element::Element(const Element& source, bool withAttributes)
    : Node(source, source.getNodeType()), m_branchStorage(this)
{
    if (!withAttributes)
        return;
    std::unique_ptr<Iterator<Node>> it(source.getAttributes()->iterator());
    while (it->hasNext()) {
        if (Node* copy = it->next()->cloneNode(false))
            getAttributes()->setNamedItem(copy);
    }
}

Element::~Element()
{
    destroyChildren();
}

NodeBranch* Element::inlineBranch() const
{
    return const_cast<NodeBranch*>(&m_branchStorage);
}

Node* Element::cloneNode(bool deep) const
{
    Element* copy = new Element(*this, deep);
    if (!deep)
        return copy;
    // Walks the subtree without recursion, so that a deep tree cannot
    // exhaust the stack; only elements have their children copied.
    const Node* source = getFirstChild();
    Node* target = copy;
    while (source) {
        Node* child = source->getNodeType() == ELEMENT_NODE ? new Element(*static_cast<const Element*>(source), true)
                                                             : source->cloneNode(true);
        if (child) {
            target->appendChild(child);
            if (source->getNodeType() == ELEMENT_NODE && source->hasChildNodes()) {
                source = source->getFirstChild();
                target = child;
                continue;
            }
        }
        while (!source->getNextSibling() && source->getParentNode() != this) {
            source = source->getParentNode();
            target = target->getParentNode();
        }
        source = source->getNextSibling();
    }
    return copy;
}

Element* Element::getFirstChildElement(const TStringPtr<unsigned short>& name) const
{
    const Utf16String* atom = getOwnerDocument()->names().lookup(name);
    for (Node* child = getFirstChild(); atom && child; child = child->getNextSibling()) {
        if (child->getNodeType() == ELEMENT_NODE && child->getNodeName() == atom)
            return static_cast<Element*>(child);
    }
    return nullptr;
}

Element* Element::getFirstChildElement(const unsigned short* name) const
{
    return getFirstChildElement(Utf16String(name));
}

Element* Element::getFirstChildElementNS(const TStringPtr<unsigned short>& localName, const TStringPtr<unsigned short>& namespaceURI) const
{
    Document* document = getOwnerDocument();
    const Utf16String* local = document->names().lookup(localName);
    const Utf16String* uri = document->namespaceURIs().lookup(namespaceURI);
    for (Node* child = getFirstChild(); local && uri && child; child = child->getNextSibling()) {
        if (child->getNodeType() == ELEMENT_NODE && child->getLocalName() == local && child->getNamespaceURI() == uri)
            return static_cast<Element*>(child);
    }
    return nullptr;
}

XNodeList* Element::getElementsByTagName(const TStringPtr<unsigned short>& name) const
{
    XNodeList* found = new XNodeList();
    const bool all = name.length() == 1 && name[0] == '*';
    const Utf16String* atom = all ? nullptr : getOwnerDocument()->names().lookup(name);
    if (!all && !atom)
        return found;
    // Document order without recursion: down to the first child, else to the
    // next sibling of the nearest node on the way back up.
    const Node* node = this;
    while (node) {
        if (all || node->getNodeName() == atom)
            found->add(const_cast<Node*>(node));
        if (node->hasChildNodes()) {
            node = node->getFirstChild();
            continue;
        }
        while (node != this && !node->getNextSibling())
            node = node->getParentNode();
        node = node == this ? nullptr : node->getNextSibling();
    }
    return found;
}

void Element::setAttribute(const TStringPtr<unsigned short>& name, const TStringPtr<unsigned short>* value)
{
    NamedNodeMap* attributes = getAttributes();
    if (Node* attribute = attributes->getNamedItem(name)) {
        if (value)
            attribute->setNodeValue(value->data(), value->length());
        else
            attribute->setNodeValue(nullptr, 0);
        return;
    }
    attributes->setNamedItem(new Attr(getOwnerDocument(), name, value));
}

void Element::setAttribute(const unsigned short* name, const unsigned short* value)
{
    const Utf16String valueText = value ? Utf16String(value) : Utf16String();
    setAttribute(Utf16String(name), value ? &valueText : nullptr);
}

void Element::setAttributeNS(const TStringPtr<unsigned short>& namespaceURI, const TStringPtr<unsigned short>& qualifiedName,
                             const TStringPtr<unsigned short>* value)
{
    Document* document = getOwnerDocument();
    const QualifiedName parts(qualifiedName);
    NamedNodeMap* attributes = getAttributes();
    Node* attribute = attributes->findNS(document->names().intern(parts.local, parts.localLength),
                                         document->namespaceURIs().intern(namespaceURI));
    if (!attribute) {
        attribute = new Attr(document, qualifiedName);
        giveNamespace(attribute, namespaceURI, qualifiedName);
        Node* replaced = attributes->setNamedItemNS(attribute);
        delete replaced;
    }
    if (value)
        attribute->setNodeValue(value->data(), value->length());
    else
        attribute->setNodeValue(nullptr, 0);
}

Attr* Element::getAttributeNodeNS(const TStringPtr<unsigned short>& namespaceURI, const TStringPtr<unsigned short>& localName) const
{
    Document* document = getOwnerDocument();
    const Utf16String* local = document->names().lookup(localName);
    const Utf16String* uri = document->namespaceURIs().lookup(namespaceURI);
    if (!local || !uri)
        return nullptr;
    return static_cast<Attr*>(getAttributes()->findNS(local, uri));
}

void Element::output(XMLOutputter& outputter) const
{
    outputter.writeElement(*this);
}

} // namespace KILN
