#pragma once

#include "kiln/base/Iterator.h"
#include "kiln/base/List.h"

namespace KILN {

// Iterator of an ArrayList: a 1-based position into the list, starting at 1.
template <class T>
class ArrayListIterator : public Iterator<T> {
public:
    explicit ArrayListIterator(const List<T>& list) : m_list(list) {}

    T* next() override
    {
        T* element = m_list.atPosition(m_position);
        if (element)
            ++m_position;
        return element;
    }
    T* first() override
    {
        m_position = 1;
        return m_list.atPosition(m_position);
    }
    T* last() override
    {
        m_position = m_list.count();
        return m_list.atPosition(m_position);
    }
    bool hasNext() const override { return m_position >= 1 && m_position <= m_list.count(); }

private:
    const List<T>& m_list;
    uint32_t m_position = 1;
};

} // namespace KILN
