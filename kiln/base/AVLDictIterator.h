#pragma once

#include "kiln/base/Iterator.h"

namespace KILN {

template <class T, class K>
class AVLDict;

// Iterator of an AVLDict: walks the tree in ascending key order, starting at
// the leftmost node and moving to the in-order successor.
template <class T, class K>
class AVLDictIterator : public Iterator<T> {
    using Node = typename AVLDict<T, K>::Node;

public:
    explicit AVLDictIterator(const AVLDict<T, K>& dict) : m_dict(dict), m_node(Node::leftmost(dict.m_root)) {}

    T* next() override
    {
        if (!m_node)
            return nullptr;
        T* element = m_node->element;
        m_node = m_node->successor();
        return element;
    }
    T* first() override { return elementOf(m_node = Node::leftmost(m_dict.m_root)); }
    T* last() override { return elementOf(m_node = Node::rightmost(m_dict.m_root)); }
    bool hasNext() const override { return m_node != nullptr; }

private:
    static T* elementOf(const Node* node) { return node ? node->element : nullptr; }

    const AVLDict<T, K>& m_dict;
    const Node* m_node;
};

} // namespace KILN
