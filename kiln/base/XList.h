#pragma once

#include "kiln/base/List.h"

namespace KILN {

// A list whose elements sit in slots of its own (an array or cells): every
// element-addressed operation is answered through positions, so a subclass
// supplies only the positional primitives.
template <class T>
class XList : public List<T> {
public:
    bool contains(const T* element) const override { return this->positionOf(element) != 0; }
    bool remove(T* element) override { return this->removeAt(this->positionOf(element)); }

    T* first() const override { return this->atIndex(0); }
    T* last() const override;
    T* previous(const T* element) const override;
    T* next(const T* element) const override;

    void prepend(T* element) override { this->insertAt(1, element); }
    T* removeFirst() override { return takeAt(1); }
    T* removeLast() override { return takeAt(this->count()); }
    bool insertBefore(const T* before, T* element) override;
    bool insertAfter(const T* after, T* element) override;
    bool replace(const T* old, T* element) override;
    bool swap(uint32_t position1, uint32_t position2) override;

private:
    T* takeAt(uint32_t position);
};

template <class T>
T* XList<T>::last() const
{
    const uint32_t n = this->count();
    return n ? this->atIndex(n - 1) : nullptr;
}

template <class T>
T* XList<T>::previous(const T* element) const
{
    const uint32_t position = this->positionOf(element);
    return position > 1 ? this->atIndex(position - 2) : nullptr;
}

template <class T>
T* XList<T>::next(const T* element) const
{
    const uint32_t position = this->positionOf(element);
    return position ? this->atIndex(position) : nullptr;
}

template <class T>
bool XList<T>::insertBefore(const T* before, T* element)
{
    const uint32_t position = this->positionOf(before);
    return position && this->insertAt(position, element);
}

template <class T>
bool XList<T>::insertAfter(const T* after, T* element)
{
    const uint32_t position = this->positionOf(after);
    return position && this->insertAt(position + 1, element);
}

template <class T>
bool XList<T>::replace(const T* old, T* element)
{
    const uint32_t position = this->positionOf(old);
    return position && this->setAt(position, element);
}

template <class T>
bool XList<T>::swap(uint32_t position1, uint32_t position2)
{
    const uint32_t n = this->count();
    if (position1 == 0 || position2 == 0 || position1 > n || position2 > n)
        return false;
    T* element1 = this->atIndex(position1 - 1);
    this->setAt(position1, this->setAt(position2, element1));
    return true;
}

template <class T>
T* XList<T>::takeAt(uint32_t position)
{
    T* element = this->atPosition(position);
    if (element)
        this->removeAt(position);
    return element;
}

} // namespace KILN
