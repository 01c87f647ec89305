#pragma once

#include "kiln/base/Iterator.h"

#include <cstdint>
#include <memory>

namespace KILN {

// A container of pointers to elements of type T. It never copies elements and
// never deletes them (unless a subclass is told to own them).
template <class T>
class Collection : public Object {
public:
    virtual bool isEmpty() const = 0;
    virtual uint32_t count() const = 0;
    // Adds an element; false when the collection refuses it.
    virtual bool add(T* element) = 0;
    // Removes the element, found by identity; false when it is absent.
    virtual bool remove(T* element) = 0;
    // Removes every element.
    virtual void clear() = 0;
    virtual bool contains(const T* element) const = 0;
    // A new iterator on the heap; the caller deletes it.
    virtual Iterator<T>* iterator() const = 0;

    // Adds every element of other; false when any of them was refused.
    bool addAll(const Collection<T>& other);
    // Removes every element of other; false when any of them was absent.
    bool removeAll(const Collection<T>& other);
};

template <class T>
bool Collection<T>::addAll(const Collection<T>& other)
{
    // Bounded by the count taken first, so adding a collection to itself ends.
    const uint32_t n = other.count();
    std::unique_ptr<Iterator<T>> it(other.iterator());
    bool all = true;
    for (uint32_t i = 0; i < n; ++i)
        all = add(it->next()) && all;
    return all;
}

template <class T>
bool Collection<T>::removeAll(const Collection<T>& other)
{
    if (&other == this) {
        clear();
        return true;
    }
    std::unique_ptr<Iterator<T>> it(other.iterator());
    bool all = true;
    while (it->hasNext())
        all = remove(it->next()) && all;
    return all;
}

} // namespace KILN
