#pragma once

#include "kiln/base/ByteSwap.h"
#include "kiln/base/Converter.h"

namespace KILN {

// A converter from UTF-16 or UTF-32 with an optional byte-order mark into
// machine order: a first unit U+FEFF is dropped; a byte-swapped mark is
// dropped and makes the converter swap the bytes of every following unit; any
// other first unit is answered as it is.
template <class T>
class ByteOrderDetectingConverter : public Converter<ByteOrderDetectingConverter<T>, T, T> {
    friend class Converter<ByteOrderDetectingConverter<T>, T, T>;
    bool holdsNothing() const { return true; }

    static constexpr T Mark = 0xFEFF;
    static constexpr T SwappedMark = sizeof(T) == 2 ? 0xFFFE : 0xFFFE0000;

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
        return m_swap ? swapBytes(unit) : unit;
    }

    void passBlock(T* units, uint32_t count)
    {
        if (m_swap)
            swapBytes(units, count);
    }

    bool m_swap = false;
};

} // namespace KILN
