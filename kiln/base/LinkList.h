#pragma once

#include "kiln/base/LinkIterator.h"
#include "kiln/base/XList.h"

namespace KILN {

// A singly linked list of cells {element, next}, one cell per element. The
// chain always ends with an empty sentinel cell whose next is itself; tail
// points to it, so an empty list has head == tail. Appending fills the
// sentinel and links a fresh one (O(1)); counting and positional access walk.
// Null elements are refused.
template <class T>
class LinkList : public XList<T> {
public:
    LinkList();
    LinkList(const LinkList&) = delete;
    LinkList& operator=(const LinkList&) = delete;
    ~LinkList() override;

    bool isEmpty() const override { return m_head == m_tail; }
    uint32_t count() const override;
    bool add(T* element) override;
    void clear() override;
    Iterator<T>* iterator() const override { return new LinkIterator<T>(*this); }

    T* atIndex(uint32_t index) const override { return cellAt(index)->element; }
    uint32_t positionOf(const T* element) const override;
    bool insertAt(uint32_t position, T* element) override;
    bool removeAt(uint32_t position) override { return removeRange(position, position); }
    T* setAt(uint32_t position, T* element) override;
    bool removeRange(uint32_t position1, uint32_t position2) override;

private:
    friend class LinkIterator<T>;

    struct Cell {
        T* element;
        Cell* next;
    };

    static Cell* newSentinel();
    // The cell at a 0-based index; the sentinel when the index is past the end.
    Cell* cellAt(uint32_t index) const;
    // The link (head or a cell's next) that points to the cell at a 0-based
    // index; null when the index is past the count.
    Cell** linkTo(uint32_t index);

    Cell* m_head;
    Cell* m_tail;
};

template <class T>
typename LinkList<T>::Cell* LinkList<T>::newSentinel()
{
    Cell* sentinel = new Cell{nullptr, nullptr};
    sentinel->next = sentinel;
    return sentinel;
}

template <class T>
LinkList<T>::LinkList() : m_head(newSentinel()), m_tail(m_head) {}

template <class T>
LinkList<T>::~LinkList()
{
    clear();
    delete m_tail;
}

template <class T>
uint32_t LinkList<T>::count() const
{
    uint32_t n = 0;
    for (const Cell* cell = m_head; cell != m_tail; cell = cell->next)
        ++n;
    return n;
}

template <class T>
bool LinkList<T>::add(T* element)
{
    if (!element)
        return false;
    Cell* sentinel = newSentinel();
    m_tail->element = element;
    m_tail->next = sentinel;
    m_tail = sentinel;
    return true;
}

template <class T>
void LinkList<T>::clear()
{
    while (m_head != m_tail) {
        Cell* cell = m_head;
        m_head = cell->next;
        delete cell;
    }
}

template <class T>
typename LinkList<T>::Cell* LinkList<T>::cellAt(uint32_t index) const
{
    Cell* cell = m_head;
    for (; index > 0 && cell != m_tail; --index)
        cell = cell->next;
    return cell;
}

template <class T>
typename LinkList<T>::Cell** LinkList<T>::linkTo(uint32_t index)
{
    Cell** link = &m_head;
    for (; index > 0; --index) {
        if (*link == m_tail)
            return nullptr;
        link = &(*link)->next;
    }
    return link;
}

template <class T>
uint32_t LinkList<T>::positionOf(const T* element) const
{
    if (!element)
        return 0;
    // The sought pointer in the sentinel stops the scan; the sentinel is
    // emptied again before answering.
    m_tail->element = const_cast<T*>(element);
    uint32_t position = 1;
    const Cell* cell = m_head;
    for (; cell->element != element; cell = cell->next)
        ++position;
    m_tail->element = nullptr;
    return cell == m_tail ? 0 : position;
}

template <class T>
bool LinkList<T>::insertAt(uint32_t position, T* element)
{
    if (!element || position == 0)
        return false;
    Cell** link = linkTo(position - 1);
    if (!link)
        return false;
    *link = new Cell{element, *link};
    return true;
}

template <class T>
T* LinkList<T>::setAt(uint32_t position, T* element)
{
    if (!element || position == 0)
        return nullptr;
    Cell* cell = cellAt(position - 1);
    if (cell == m_tail)
        return nullptr;
    T* old = cell->element;
    cell->element = element;
    return old;
}

template <class T>
bool LinkList<T>::removeRange(uint32_t position1, uint32_t position2)
{
    const uint32_t from = position1 < position2 ? position1 : position2;
    const uint32_t to = position1 < position2 ? position2 : position1;
    if (from == 0)
        return false;
    Cell** link = linkTo(from - 1);
    if (!link)
        return false;
    // Check the whole range before unlinking anything.
    Cell* after = *link;
    for (uint32_t n = to - from + 1; n > 0; --n) {
        if (after == m_tail)
            return false;
        after = after->next;
    }
    while (*link != after) {
        Cell* cell = *link;
        *link = cell->next;
        delete cell;
    }
    return true;
}

} // namespace KILN
