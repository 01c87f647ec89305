#pragma once

#include "kiln/base/Iterator.h"

#include <cstdint>

namespace KILN {

class Node;

// Walks the subtree of a root node in document order without recursion; it
// never leaves the subtree.
class NodeIterator : public Iterator<Node> {
public:
    explicit NodeIterator(Node* root) : m_root(root), m_current(root) {}

    // Answers the current node and moves to the next one in document order.
    Node* next() override;
    // Moves back to the root and answers it.
    Node* first() override;
    // Moves to the deepest last descendant of the root and answers it.
    Node* last() override;
    bool hasNext() const override { return m_current != nullptr; }
    // Moves to the node before the current one in document order and answers
    // it; null (and no move) at the root.
    Node* previous();
    // The number of nodes from the root up to, not including, the current
    // one (every node of the subtree once the walk has ended).
    uint32_t position() const;

private:
    Node* following(Node* node) const;

    Node* m_root;
    Node* m_current;
};

} // namespace KILN
