#include "kiln/base/NodeIterator.h"

#include "kiln/base/Node.h"

namespace KILN {

namespace {

Node* deepestLast(Node* node)
{
    while (Node* child = node->getLastChild())
        node = child;
    return node;
}

} // namespace

Node* NodeIterator::following(Node* node) const
{
    if (Node* child = node->getFirstChild())
        return child;
    for (; node && node != m_root; node = node->getParentNode()) {
        if (Node* sibling = node->getNextSibling())
            return sibling;
    }
    return nullptr;
}

Node* NodeIterator::next()
{
    Node* answer = m_current;
    if (m_current)
        m_current = following(m_current);
    return answer;
}

Node* NodeIterator::first()
{
    m_current = m_root;
    return m_current;
}

Node* NodeIterator::last()
{
    m_current = m_root ? deepestLast(m_root) : nullptr;
    return m_current;
}

Node* NodeIterator::previous()
{
    if (!m_current) {
        return last();
    }
    if (m_current == m_root)
        return nullptr;
    if (Node* sibling = m_current->getPreviousSibling())
        m_current = deepestLast(sibling);
    else
        m_current = m_current->getParentNode();
    return m_current;
}

uint32_t NodeIterator::position() const
{
    uint32_t count = 0;
    for (Node* node = m_root; node && node != m_current; node = following(node))
        ++count;
    return count;
}

} // namespace KILN
