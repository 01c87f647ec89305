#pragma once

#include "kiln/base/Iterator.h"
#include "kiln/base/List.h"

namespace KILN {

// Iterator of an NDLinkList: follows the elements' own forward links.
template <class T>
class NDLinkListIterator : public Iterator<T> {
public:
    explicit NDLinkListIterator(const List<T>& list) : m_list(list), m_current(list.first()) {}

    T* next() override
    {
        T* element = m_current;
        if (element)
            m_current = element->nextInList();
        return element;
    }
    T* first() override { return m_current = m_list.first(); }
    T* last() override { return m_current = m_list.last(); }
    bool hasNext() const override { return m_current != nullptr; }

private:
    const List<T>& m_list;
    T* m_current;
};

} // namespace KILN
