#pragma once

#include "kiln/base/Set.h"

namespace KILN {

// A set of elements that are told apart by a key of type K kept inside each
// element; at most one element per key. Subclasses say where the key is and
// how keys compare.
template <class T, class K>
class Dict : public Set<T> {
public:
    // Pointer to the key of an element.
    virtual const K* keyOf(const T* element) const = 0;
    // Negative, 0 or positive as a sorts before, with or after b.
    virtual int compare(const K* a, const K* b) const = 0;
    // The element with the key; null when there is none.
    virtual T* find(const K* key) const = 0;
};

} // namespace KILN
