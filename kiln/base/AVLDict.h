#pragma once

#include "kiln/base/AVLDictIterator.h"
#include "kiln/base/Dict.h"

#include <cstdint>

namespace KILN {

template <class T, class K>
struct AVLDictInspector;

// An ordered dictionary kept as an AVL tree of nodes {element, parent, left,
// right, height}; a leaf has height 1 and the heights of a node's two
// subtrees differ by at most 1. Keys are not stored: the subclass answers the
// key of an element and compares keys. An element whose key is already
// present is refused. The tree nodes are the dictionary's; the elements are
// not, and clearing never deletes them. Null elements are refused.
template <class T, class K>
class AVLDict : public Dict<T, K> {
public:
    AVLDict() = default;
    AVLDict(const AVLDict&) = delete;
    AVLDict& operator=(const AVLDict&) = delete;
    ~AVLDict() override { clear(); }

    bool isEmpty() const override { return m_root == nullptr; }
    // Counts the elements with an in-order walk.
    uint32_t count() const override;
    // Inserts the element; false, and no change, when its key is present.
    bool add(T* element) override;
    // Removes this very element; false when it is absent (another element
    // with an equal key is left alone).
    bool remove(T* element) override;
    void clear() override;
    bool contains(const T* element) const override;
    Iterator<T>* iterator() const override { return new AVLDictIterator<T, K>(*this); }
    T* find(const K* key) const override;

private:
    friend class AVLDictIterator<T, K>;
    friend struct AVLDictInspector<T, K>;

    struct Node {
        T* element;
        Node* parent;
        Node* left = nullptr;
        Node* right = nullptr;
        int32_t height = 1;

        static Node* leftmost(Node* node);
        static Node* rightmost(Node* node);
        // The next node in key order; null after the last.
        Node* successor() const;
    };

    static int32_t heightOf(const Node* node) { return node ? node->height : 0; }
    static void updateHeight(Node* node);
    Node* findNode(const K* key) const;
    // Makes child take node's place under node's parent (or as the root).
    void replaceChild(Node* node, Node* child);
    using Side = Node* Node::*;
    // Lifts node's child on `side` into node's place; node becomes that
    // child's child on the `other` side. Answers the lifted child.
    Node* rotate(Node* node, Side side, Side other);
    // Restores heights and balance from node upwards, as far as they changed.
    void rebalance(Node* node);
    static void deleteTree(Node* node);

    Node* m_root = nullptr;
};

template <class T, class K>
typename AVLDict<T, K>::Node* AVLDict<T, K>::Node::leftmost(Node* node)
{
    while (node && node->left)
        node = node->left;
    return node;
}

template <class T, class K>
typename AVLDict<T, K>::Node* AVLDict<T, K>::Node::rightmost(Node* node)
{
    while (node && node->right)
        node = node->right;
    return node;
}

template <class T, class K>
typename AVLDict<T, K>::Node* AVLDict<T, K>::Node::successor() const
{
    if (right)
        return leftmost(right);
    const Node* node = this;
    Node* up = parent;
    while (up && node == up->right) {
        node = up;
        up = up->parent;
    }
    return up;
}

template <class T, class K>
uint32_t AVLDict<T, K>::count() const
{
    uint32_t n = 0;
    for (const Node* node = Node::leftmost(m_root); node; node = node->successor())
        ++n;
    return n;
}

template <class T, class K>
typename AVLDict<T, K>::Node* AVLDict<T, K>::findNode(const K* key) const
{
    Node* node = m_root;
    while (node) {
        const int order = this->compare(key, this->keyOf(node->element));
        if (order == 0)
            return node;
        node = order < 0 ? node->left : node->right;
    }
    return nullptr;
}

template <class T, class K>
T* AVLDict<T, K>::find(const K* key) const
{
    const Node* node = findNode(key);
    return node ? node->element : nullptr;
}

template <class T, class K>
bool AVLDict<T, K>::contains(const T* element) const
{
    const Node* node = element ? findNode(this->keyOf(element)) : nullptr;
    return node && node->element == element;
}

template <class T, class K>
bool AVLDict<T, K>::add(T* element)
{
    if (!element)
        return false;
    const K* key = this->keyOf(element);
    Node* parent = nullptr;
    Node** link = &m_root;
    while (*link) {
        parent = *link;
        const int order = this->compare(key, this->keyOf(parent->element));
        if (order == 0)
            return false;
        link = order < 0 ? &parent->left : &parent->right;
    }
    *link = new Node{element, parent};
    rebalance(parent);
    return true;
}

template <class T, class K>
bool AVLDict<T, K>::remove(T* element)
{
    Node* node = element ? findNode(this->keyOf(element)) : nullptr;
    if (!node || node->element != element)
        return false;
    if (node->left && node->right) {
        // Keep the node, take the successor's element, and unlink the
        // successor instead (it has no left child).
        Node* successor = Node::leftmost(node->right);
        node->element = successor->element;
        node = successor;
    }
    Node* child = node->left ? node->left : node->right;
    Node* parent = node->parent;
    replaceChild(node, child);
    delete node;
    rebalance(parent);
    return true;
}

template <class T, class K>
void AVLDict<T, K>::clear()
{
    deleteTree(m_root);
    m_root = nullptr;
}

template <class T, class K>
void AVLDict<T, K>::deleteTree(Node* node)
{
    // Recursion depth is the tree height, which stays logarithmic.
    if (!node)
        return;
    deleteTree(node->left);
    deleteTree(node->right);
    delete node;
}

template <class T, class K>
void AVLDict<T, K>::updateHeight(Node* node)
{
    const int32_t left = heightOf(node->left);
    const int32_t right = heightOf(node->right);
    node->height = 1 + (left > right ? left : right);
}

template <class T, class K>
void AVLDict<T, K>::replaceChild(Node* node, Node* child)
{
    Node* parent = node->parent;
    if (child)
        child->parent = parent;
    if (!parent)
        m_root = child;
    else if (parent->left == node)
        parent->left = child;
    else
        parent->right = child;
}

template <class T, class K>
typename AVLDict<T, K>::Node* AVLDict<T, K>::rotate(Node* node, Side side, Side other)
{
    Node* pivot = node->*side;
    replaceChild(node, pivot);
    node->*side = pivot->*other;
    if (node->*side)
        (node->*side)->parent = node;
    pivot->*other = node;
    node->parent = pivot;
    updateHeight(node);
    updateHeight(pivot);
    return pivot;
}

template <class T, class K>
void AVLDict<T, K>::rebalance(Node* node)
{
    while (node) {
        const int32_t before = node->height;
        updateHeight(node);
        const int32_t balance = heightOf(node->left) - heightOf(node->right);
        if (balance > 1 || balance < -1) {
            const Side high = balance > 1 ? &Node::left : &Node::right;
            const Side low = balance > 1 ? &Node::right : &Node::left;
            // A child leaning the other way is first turned (double rotation).
            Node* child = node->*high;
            if (heightOf(child->*high) < heightOf(child->*low))
                rotate(child, low, high);
            node = rotate(node, high, low);
        }
        // Ancestors depend only on this subtree's height: unchanged, done.
        if (node->height == before)
            return;
        node = node->parent;
    }
}

} // namespace KILN
