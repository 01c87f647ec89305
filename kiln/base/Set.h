#pragma once

#include "kiln/base/Collection.h"

namespace KILN {

// A collection that holds each element at most once.
template <class T>
class Set : public Collection<T> {};

} // namespace KILN
