#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// A converter that passes units of type T and drops the byte-order mark Mark
// (one or more units) at the start of the input. A partial mark is delivered
// unchanged, also when the input ends inside it.
template <class T, T... Mark>
class MarkDroppingConverter : public Converter<MarkDroppingConverter<T, Mark...>, T, T> {
    friend class Converter<MarkDroppingConverter<T, Mark...>, T, T>;

    T convert()
    {
        if (!this->m_fresh)
            return this->input();
        static constexpr T mark[] = {Mark...};
        constexpr size_t length = sizeof...(Mark);
        T seen[length];
        size_t matched = 0;
        bool differs = false;
        try {
            while (matched < length && !differs) {
                seen[matched] = this->input();
                differs = seen[matched] != mark[matched];
                ++matched;
            }
        } catch (const IOException& e) {
            if (e.code() != IOException::EndOfInput || matched == 0)
                throw;
            return deliver(seen, matched);
        }
        return differs ? deliver(seen, matched) : this->input();
    }

    void passBlock(T*, uint32_t) {}

    // Answers the units read while matching, in order.
    T deliver(const T* seen, size_t count)
    {
        for (size_t i = count - 1; i > 0; --i)
            this->pushBack(seen[i]);
        return seen[0];
    }
};

} // namespace KILN
