#pragma once

#include "kiln/base/List.h"
#include "kiln/base/NDLinkListIterator.h"
#include "kiln/base/NDLinkListNode.h"

namespace KILN {

// An intrusive doubly linked list of elements deriving from NDLinkListNode<T>:
// the elements carry the links, so no cells are allocated and linking or
// unlinking next to a known element is O(1).
//
// With `owns` set the list deletes the elements it drops: on clear, on
// destruction and on the positional removals (removeAt, removeRange and the
// removeBefore/removeAfter forms). Without it they are only unlinked (their
// links become null). Operations that hand the element back to the caller
// (remove, removeFirst, removeLast, replace, setAt) never delete it.
//
// An element is in at most one list at a time. Adding an element that is
// already linked is refused. The O(1) operations trust that an element
// passed to them which has a predecessor belongs to this list.
template <class T>
class NDLinkList : public List<T> {
public:
    explicit NDLinkList(bool owns = false) : m_owns(owns) {}
    NDLinkList(const NDLinkList&) = delete;
    NDLinkList& operator=(const NDLinkList&) = delete;
    ~NDLinkList() override { clear(); }

    bool owns() const { return m_owns; }

    bool isEmpty() const override { return m_head == nullptr; }
    uint32_t count() const override;
    bool add(T* element) override;
    bool remove(T* element) override;
    void clear() override;
    bool contains(const T* element) const override { return positionOf(element) != 0; }
    Iterator<T>* iterator() const override { return new NDLinkListIterator<T>(*this); }

    T* atIndex(uint32_t index) const override;
    uint32_t positionOf(const T* element) const override;
    T* previous(const T* element) const override { return holds(element) ? element->previousInList() : nullptr; }
    T* next(const T* element) const override { return holds(element) ? element->nextInList() : nullptr; }
    T* first() const override { return m_head; }
    T* last() const override { return m_tail; }

    void prepend(T* element) override;
    // Moves every element of other, in order, in front of this list's
    // elements, in constant time; other is left empty.
    void prependAll(NDLinkList& other);
    T* removeFirst() override { return take(m_head); }
    T* removeLast() override { return take(m_tail); }
    bool insertAt(uint32_t position, T* element) override;
    bool insertBefore(const T* before, T* element) override;
    bool insertAfter(const T* after, T* element) override;
    bool removeAt(uint32_t position) override;
    bool replace(const T* old, T* element) override;
    T* setAt(uint32_t position, T* element) override;
    bool swap(uint32_t position1, uint32_t position2) override;
    bool removeRange(uint32_t position1, uint32_t position2) override;

private:
    static InnerNDLinkListNode* node(const T* element) { return const_cast<T*>(element); }
    // Whether the element is linked into this list (see the class comment).
    bool holds(const T* element) const { return element && (element == m_head || node(element)->m_previous); }
    // Whether the element is in no list and may be linked.
    bool isFree(const T* element) const
    {
        return element && element != m_head && !node(element)->m_previous && !node(element)->m_next;
    }
    // Links a free element between two neighbours (null for an end of the list).
    void link(T* element, T* before, T* after);
    void unlink(T* element);
    // Unlinks the element and deletes it when the list owns its elements.
    void drop(T* element);
    T* take(T* element);

    T* m_head = nullptr;
    bool m_owns;
    T* m_tail = nullptr;
};

template <class T>
void NDLinkList<T>::link(T* element, T* before, T* after)
{
    node(element)->m_previous = before;
    node(element)->m_next = after;
    if (before)
        node(before)->m_next = element;
    else
        m_head = element;
    if (after)
        node(after)->m_previous = element;
    else
        m_tail = element;
}

template <class T>
void NDLinkList<T>::unlink(T* element)
{
    T* before = element->previousInList();
    T* after = element->nextInList();
    if (before)
        node(before)->m_next = after;
    else
        m_head = after;
    if (after)
        node(after)->m_previous = before;
    else
        m_tail = before;
    node(element)->m_previous = nullptr;
    node(element)->m_next = nullptr;
}

template <class T>
void NDLinkList<T>::drop(T* element)
{
    unlink(element);
    if (m_owns)
        delete element;
}

template <class T>
void NDLinkList<T>::prependAll(NDLinkList& other)
{
    if (!other.m_head)
        return;
    if (m_head) {
        node(other.m_tail)->m_next = m_head;
        node(m_head)->m_previous = other.m_tail;
    } else {
        m_tail = other.m_tail;
    }
    m_head = other.m_head;
    other.m_head = nullptr;
    other.m_tail = nullptr;
}

template <class T>
T* NDLinkList<T>::take(T* element)
{
    if (element)
        unlink(element);
    return element;
}

template <class T>
uint32_t NDLinkList<T>::count() const
{
    uint32_t n = 0;
    for (const T* element = m_head; element; element = element->nextInList())
        ++n;
    return n;
}

template <class T>
bool NDLinkList<T>::add(T* element)
{
    if (!isFree(element))
        return false;
    link(element, m_tail, nullptr);
    return true;
}

template <class T>
bool NDLinkList<T>::remove(T* element)
{
    if (!holds(element))
        return false;
    unlink(element);
    return true;
}

template <class T>
void NDLinkList<T>::clear()
{
    while (m_head)
        drop(m_head);
}

template <class T>
T* NDLinkList<T>::atIndex(uint32_t index) const
{
    T* element = m_head;
    for (; element && index > 0; --index)
        element = element->nextInList();
    return element;
}

template <class T>
uint32_t NDLinkList<T>::positionOf(const T* element) const
{
    uint32_t position = 1;
    for (const T* e = m_head; e; e = e->nextInList(), ++position) {
        if (e == element)
            return position;
    }
    return 0;
}

template <class T>
void NDLinkList<T>::prepend(T* element)
{
    if (isFree(element))
        link(element, nullptr, m_head);
}

template <class T>
bool NDLinkList<T>::insertAt(uint32_t position, T* element)
{
    if (position == 0 || !isFree(element))
        return false;
    if (T* here = atIndex(position - 1))
        return insertBefore(here, element);
    return position - 1 == count() && add(element);
}

template <class T>
bool NDLinkList<T>::insertBefore(const T* before, T* element)
{
    if (!holds(before) || !isFree(element))
        return false;
    link(element, before->previousInList(), const_cast<T*>(before));
    return true;
}

template <class T>
bool NDLinkList<T>::insertAfter(const T* after, T* element)
{
    if (!holds(after) || !isFree(element))
        return false;
    link(element, const_cast<T*>(after), after->nextInList());
    return true;
}

template <class T>
bool NDLinkList<T>::removeAt(uint32_t position)
{
    T* element = this->atPosition(position);
    if (!element)
        return false;
    drop(element);
    return true;
}

template <class T>
bool NDLinkList<T>::replace(const T* old, T* element)
{
    if (!holds(old) || !isFree(element))
        return false;
    T* before = old->previousInList();
    T* after = old->nextInList();
    unlink(const_cast<T*>(old));
    link(element, before, after);
    return true;
}

template <class T>
T* NDLinkList<T>::setAt(uint32_t position, T* element)
{
    T* old = this->atPosition(position);
    return old && replace(old, element) ? old : nullptr;
}

template <class T>
bool NDLinkList<T>::swap(uint32_t position1, uint32_t position2)
{
    const uint32_t from = position1 < position2 ? position1 : position2;
    const uint32_t to = position1 < position2 ? position2 : position1;
    T* a = this->atPosition(from);
    T* b = this->atPosition(to);
    if (!a || !b)
        return false;
    if (a == b)
        return true;
    if (a->nextInList() == b) {
        unlink(a);
        link(a, b, b->nextInList());
        return true;
    }
    // b has a predecessor other than a: move b before a, then a after it.
    T* bBefore = b->previousInList();
    unlink(b);
    link(b, a->previousInList(), a);
    unlink(a);
    link(a, bBefore, bBefore->nextInList());
    return true;
}

template <class T>
bool NDLinkList<T>::removeRange(uint32_t position1, uint32_t position2)
{
    const uint32_t from = position1 < position2 ? position1 : position2;
    const uint32_t to = position1 < position2 ? position2 : position1;
    T* element = this->atPosition(from);
    if (!element)
        return false;
    // Check the whole range before dropping anything.
    T* last = element;
    for (uint32_t n = to - from; n > 0 && last; --n)
        last = last->nextInList();
    if (!last)
        return false;
    T* stop = last->nextInList();
    while (element != stop) {
        T* after = element->nextInList();
        drop(element);
        element = after;
    }
    return true;
}

} // namespace KILN
