#pragma once

#include "kiln/base/Collection.h"

namespace KILN {

// An ordered collection addressed by 1-based positions (position 0 means
// "none" and is rejected); only atIndex() takes a 0-based index. Searches compare
// pointers, never contents.
template <class T>
class List : public Collection<T> {
public:
    // Element at a 0-based index; null when the index is not below the count.
    virtual T* atIndex(uint32_t index) const = 0;
    // 1-based position of the element; 0 when it is absent.
    virtual uint32_t positionOf(const T* element) const = 0;
    // The element before / after the given one; null for the first / last
    // element and for an absent one.
    virtual T* previous(const T* element) const = 0;
    virtual T* next(const T* element) const = 0;
    // First / last element; null when the list is empty.
    virtual T* first() const = 0;
    virtual T* last() const = 0;

    virtual void prepend(T* element) = 0;
    // Take the first / last element out and answer it; null when empty.
    virtual T* removeFirst() = 0;
    virtual T* removeLast() = 0;
    // Inserts so that the element gets the 1-based position (1 to count + 1).
    virtual bool insertAt(uint32_t position, T* element) = 0;
    // Insert next to a given element; false when that one is absent.
    virtual bool insertBefore(const T* before, T* element) = 0;
    virtual bool insertAfter(const T* after, T* element) = 0;
    // Removes the element at a 1-based position; false for 0 or past the count.
    virtual bool removeAt(uint32_t position) = 0;
    // Puts element in the place of old; false when old is absent.
    virtual bool replace(const T* old, T* element) = 0;
    // Puts element at a 1-based position and answers the element it replaced
    // (null, and no change, for an invalid position).
    virtual T* setAt(uint32_t position, T* element) = 0;
    // Exchanges the elements at two 1-based positions; false when either is invalid.
    virtual bool swap(uint32_t position1, uint32_t position2) = 0;
    // Removes the elements from one 1-based position to another, both
    // included, given in either order; false when either is invalid.
    virtual bool removeRange(uint32_t position1, uint32_t position2) = 0;

    // atIndex() with a 1-based position; null for 0 or past the count.
    T* atPosition(uint32_t position) const { return position ? atIndex(position - 1) : nullptr; }
    // Remove every element before / after a given element or 1-based
    // position; false when the element is absent or the position invalid.
    bool removeBefore(const T* element) { return removeBeforePosition(this->positionOf(element)); }
    bool removeAfter(const T* element) { return removeAfterPosition(this->positionOf(element)); }
    bool removeBeforePosition(uint32_t position);
    bool removeAfterPosition(uint32_t position);
};

template <class T>
bool List<T>::removeBeforePosition(uint32_t position)
{
    if (position == 0 || position > this->count())
        return false;
    return position == 1 || removeRange(1, position - 1);
}

template <class T>
bool List<T>::removeAfterPosition(uint32_t position)
{
    const uint32_t n = this->count();
    if (position == 0 || position > n)
        return false;
    return position == n || removeRange(position + 1, n);
}

} // namespace KILN
