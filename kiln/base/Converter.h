#pragma once

#include "kiln/base/Exception.h"
#include "kiln/base/PushbackIFilter.h"

#include <cstdint>

namespace KILN {

// Base of the encoding converters: an input filter answering units of type
// Out made from source units of type In. A read answers a pushed-back unit
// first, else Derived::convert() (inlined, not virtual), which reads the source
// until it can answer a unit and pushes back the further units of a character
// that yields several. The filter is fresh during the first convert() after
// attaching or resetting, which is where byte-order marks are handled.
template <class Derived, class Out, class In>
class Converter : public PushbackIFilter<Out> {
public:
    Converter() : PushbackIFilter<Out>(Flow::widthOf<In>()) {}

    uint8_t read8() override
    {
        if constexpr (sizeof(Out) == 1)
            return static_cast<uint8_t>(next());
        else
            return PushbackIFilter<Out>::read8();
    }
    uint16_t read16() override
    {
        if constexpr (sizeof(Out) == 2)
            return next();
        else
            return PushbackIFilter<Out>::read16();
    }
    uint32_t read32() override
    {
        if constexpr (sizeof(Out) == 4)
            return next();
        else
            return PushbackIFilter<Out>::read32();
    }

protected:
    // The next unit of the source.
    In input() { return this->m_source->template readUnit<In>(); }

    // Answers first and pushes back second, so the next read answers it.
    Out answer(Out first, Out second)
    {
        this->pushBack(second);
        return first;
    }
    Out answer(Out first, Out second, Out third)
    {
        this->pushBack(third);
        this->pushBack(second);
        return first;
    }
    Out answer(Out first, Out second, Out third, Out fourth)
    {
        this->pushBack(fourth);
        return answer(first, second, third);
    }
    // Answers a one-byte code (up to FF) or the lead byte of a two-byte code,
    // pushing back its trail byte.
    Out answerCode(uint32_t code)
    {
        if (code > 0xFF)
            return answer(static_cast<Out>(code >> 8), static_cast<Out>(code));
        return static_cast<Out>(code);
    }
    // Answers units[0] and pushes back units[1, count) (count at least 1).
    Out answer(const Out* units, uint32_t count)
    {
        for (uint32_t i = count - 1; i > 0; --i)
            this->pushBack(units[i]);
        return units[0];
    }

private:
    Out next()
    {
        Out unit;
        if (this->popPushback(unit)) {
            this->m_fresh = false;
            return unit;
        }
        if (!this->m_source)
            throw IOException("kiln/base/Converter", __LINE__, IOException::NoSource);
        unit = static_cast<Derived*>(this)->convert();
        this->m_fresh = false;
        return unit;
    }
};

} // namespace KILN
