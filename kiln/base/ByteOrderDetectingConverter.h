#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// A converter from UTF-16 or UTF-32 with an optional byte-order mark into
// machine order: a first unit U+FEFF is dropped; a byte-swapped mark is
// dropped and makes the converter swap the bytes of every following unit; any
// other first unit is answered as it is.
template <class T>
class ByteOrderDetectingConverter : public Converter<ByteOrderDetectingConverter<T>, T, T> {
    friend class Converter<ByteOrderDetectingConverter<T>, T, T>;

    static constexpr T Mark = 0xFEFF;
    static constexpr T SwappedMark = sizeof(T) == 2 ? 0xFFFE : 0xFFFE0000;

    static T swap(T unit)
    {
        if constexpr (sizeof(T) == 2)
            return __builtin_bswap16(unit);
        else
            return __builtin_bswap32(unit);
    }

    T convert()
    {
        if (this->m_fresh) {
            m_swap = false;
            const T first = this->input();
            if (first == SwappedMark)
                m_swap = true;
            else if (first != Mark)
                return first;
        }
        const T unit = this->input();
        return m_swap ? swap(unit) : unit;
    }

    bool m_swap = false;
};

} // namespace KILN
