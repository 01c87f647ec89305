#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// A converter that passes units of type T and writes the byte-order mark
// Mark (one or more units, in the order of the target) before the first one.
template <class T, T... Mark>
class MarkWritingConverter : public Converter<MarkWritingConverter<T, Mark...>, T, T> {
    friend class Converter<MarkWritingConverter<T, Mark...>, T, T>;

    T convert()
    {
        if (!this->m_fresh)
            return this->input();
        static constexpr T mark[] = {Mark...};
        for (size_t i = sizeof...(Mark) - 1; i > 0; --i)
            this->pushBack(mark[i]);
        return mark[0];
    }

    void passBlock(T*, uint32_t) {}
};

} // namespace KILN
