#pragma once

#include "kiln/base/Iterator.h"

namespace KILN {

template <class T>
class LinkList;

// Iterator of a LinkList: the list and its current cell.
template <class T>
class LinkIterator : public Iterator<T> {
public:
    explicit LinkIterator(const LinkList<T>& list) : m_list(list), m_cell(list.m_head) {}

    T* next() override
    {
        T* element = m_cell->element;
        m_cell = m_cell->next;
        return element;
    }
    T* first() override
    {
        m_cell = m_list.m_head;
        return m_cell->element;
    }
    T* last() override
    {
        m_cell = m_list.m_head;
        while (m_cell->next != m_list.m_tail && m_cell != m_list.m_tail)
            m_cell = m_cell->next;
        return m_cell->element;
    }
    bool hasNext() const override { return m_cell != m_list.m_tail; }

private:
    const LinkList<T>& m_list;
    const typename LinkList<T>::Cell* m_cell;
};

} // namespace KILN
