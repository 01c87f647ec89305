#include "kiln/base/NamedNodeMap.h"

#include "kiln/base/Attr.h"

#include <memory>

namespace KILN {

NamedNodeMap::~NamedNodeMap()
{
    // Most nodes have no attributes: no walk (and no iterator) for them.
    if (isEmpty())
        return;
    std::unique_ptr<Iterator<KILN::Node>> it(iterator());
    while (it->hasNext())
        delete it->next();
    clear();
}

const Utf16String* NamedNodeMap::keyOf(const KILN::Node* element) const
{
    return element->getNodeName();
}

int NamedNodeMap::compare(const Utf16String* a, const Utf16String* b) const
{
    return Utf16String::compareUnits(a->data(), a->length(), b->data(), b->length());
}

KILN::Node* NamedNodeMap::getNamedItem(const TStringPtr<unsigned short>& name) const
{
    const Utf16String probe(name);
    return find(&probe);
}

KILN::Node* NamedNodeMap::findNS(const Utf16String* localName, const Utf16String* namespaceURI) const
{
    std::unique_ptr<Iterator<KILN::Node>> it(iterator());
    while (it->hasNext()) {
        KILN::Node* node = it->next();
        if (node->getLocalName() == localName && node->getNamespaceURI() == namespaceURI)
            return node;
    }
    return nullptr;
}

KILN::Node* NamedNodeMap::replaceBy(KILN::Node* node, KILN::Node* old)
{
    if (old)
        removeNamedItem(old);
    add(node);
    if (node->getNodeType() == KILN::Node::ATTRIBUTE_NODE)
        static_cast<Attr*>(node)->setOwnerElement(m_owner);
    return old;
}

KILN::Node* NamedNodeMap::setNamedItem(KILN::Node* node)
{
    return replaceBy(node, find(node->getNodeName()));
}

KILN::Node* NamedNodeMap::setNamedItemNS(KILN::Node* node)
{
    KILN::Node* old = findNS(node->getLocalName(), node->getNamespaceURI());
    // The map is keyed by name: a node of the same name but other namespace
    // names must leave too, or the new node would be refused and lost.
    KILN::Node* sameName = find(node->getNodeName());
    if (sameName && sameName != old) {
        if (old) {
            removeNamedItem(sameName);
            delete sameName;
        } else {
            old = sameName;
        }
    }
    return replaceBy(node, old);
}

bool NamedNodeMap::removeNamedItem(KILN::Node* node)
{
    if (!remove(node))
        return false;
    if (node->getNodeType() == KILN::Node::ATTRIBUTE_NODE)
        static_cast<Attr*>(node)->setOwnerElement(nullptr);
    return true;
}

} // namespace KILN
