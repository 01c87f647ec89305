#pragma once

#include "kiln/base/ArrayListIterator.h"
#include "kiln/base/XList.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace KILN {

// A list kept in an array of element pointers (runtime allocator). One entry
// beyond the count is always free: searches store the sought pointer there and
// scan without a bound check. The array grows by a constant 12 entries when
// fewer than two entries are free. Null elements are refused.
template <class T>
class ArrayList : public XList<T> {
public:
    static constexpr uint32_t InitialCapacity = 10;
    static constexpr uint32_t GrowthStep = 12;

    ArrayList();
    ArrayList(const ArrayList&) = delete;
    ArrayList& operator=(const ArrayList&) = delete;
    ~ArrayList() override { std::free(m_items); }

    bool isEmpty() const override { return m_count == 0; }
    uint32_t count() const override { return m_count; }
    bool add(T* element) override { return insertAt(m_count + 1, element); }
    void clear() override { m_count = 0; }
    Iterator<T>* iterator() const override { return new ArrayListIterator<T>(*this); }

    T* atIndex(uint32_t index) const override { return index < m_count ? m_items[index] : nullptr; }
    uint32_t positionOf(const T* element) const override;
    bool insertAt(uint32_t position, T* element) override;
    bool removeAt(uint32_t position) override;
    T* setAt(uint32_t position, T* element) override;
    bool removeRange(uint32_t position1, uint32_t position2) override;

    // Size of the array in entries.
    uint32_t capacity() const { return m_capacity; }

private:
    T** m_items;
    uint32_t m_capacity = InitialCapacity;
    uint32_t m_count = 0;
};

template <class T>
ArrayList<T>::ArrayList()
{
    m_items = static_cast<T**>(std::malloc(m_capacity * sizeof(T*)));
    if (!m_items)
        throw std::bad_alloc();
}

template <class T>
uint32_t ArrayList<T>::positionOf(const T* element) const
{
    if (!element)
        return 0;
    m_items[m_count] = const_cast<T*>(element);
    uint32_t i = 0;
    while (m_items[i] != element)
        ++i;
    return i == m_count ? 0 : i + 1;
}

template <class T>
bool ArrayList<T>::insertAt(uint32_t position, T* element)
{
    if (!element || position == 0 || position > m_count + 1)
        return false;
    if (m_capacity < m_count + 2) {
        void* grown = std::realloc(m_items, (m_count + GrowthStep) * sizeof(T*));
        if (!grown)
            throw std::bad_alloc();
        m_items = static_cast<T**>(grown);
        m_capacity = m_count + GrowthStep;
    }
    T** slot = m_items + position - 1;
    std::memmove(slot + 1, slot, (m_count - (position - 1)) * sizeof(T*));
    *slot = element;
    ++m_count;
    return true;
}

template <class T>
bool ArrayList<T>::removeAt(uint32_t position)
{
    return removeRange(position, position);
}

template <class T>
T* ArrayList<T>::setAt(uint32_t position, T* element)
{
    if (!element || position == 0 || position > m_count)
        return nullptr;
    T* old = m_items[position - 1];
    m_items[position - 1] = element;
    return old;
}

template <class T>
bool ArrayList<T>::removeRange(uint32_t position1, uint32_t position2)
{
    const uint32_t from = position1 < position2 ? position1 : position2;
    const uint32_t to = position1 < position2 ? position2 : position1;
    if (from == 0 || to > m_count)
        return false;
    std::memmove(m_items + from - 1, m_items + to, (m_count - to) * sizeof(T*));
    m_count -= to - from + 1;
    return true;
}

} // namespace KILN
