#include "kiln/base/ConstNodeIterator.h"

#include "kiln/base/Node.h"

namespace KILN {

namespace {

Node* acceptedRoot(const Node* root)
{
    if (!root)
        return nullptr;
    switch (root->getNodeType()) {
    case Node::ELEMENT_NODE:
    case Node::TEXT_NODE:
    case Node::DOCUMENT_NODE:
    case Node::DOCUMENT_FRAGMENT_NODE:
        return const_cast<Node*>(root);
    default:
        return nullptr;
    }
}

} // namespace

ConstNodeIterator::ConstNodeIterator(const Node* root)
    : m_walk(acceptedRoot(root))
{
}

} // namespace KILN
