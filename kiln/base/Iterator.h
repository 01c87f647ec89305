#pragma once

#include "kiln/base/Object.h"

namespace KILN {

// A cursor over a collection, created on the heap by the collection and
// deleted by the caller. The usual loop: while (it->hasNext()) use(it->next()).
// Changing the collection while an iterator is in use invalidates it.
template <class T>
class Iterator : public Object {
public:
    // Answers the current element and advances; null at the end.
    virtual T* next() = 0;
    // Makes the first element current and answers it (null when empty).
    virtual T* first() = 0;
    // Makes the last element current and answers it (null when empty).
    virtual T* last() = 0;
    // True while next() has an element to answer.
    virtual bool hasNext() const = 0;
};

} // namespace KILN
