#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// A converter between two encodings whose units are the same values of type T
// (little-endian forms read in machine order, UCS-2 into UTF-16, ASCII into an
// ISO 8859 part).
template <class T>
class PassThroughConverter : public Converter<PassThroughConverter<T>, T, T> {
    friend class Converter<PassThroughConverter<T>, T, T>;

    T convert() { return this->input(); }
    void passBlock(T*, uint32_t) {}
};

} // namespace KILN
