#pragma once

#include "kiln/base/Converter.h"

namespace KILN {

// A converter that copies every source unit of value at most Max into a unit
// of type Out and skips the others: widening (ASCII or UCS-2 into wider
// units) and narrowing to a smaller repertoire.
template <class Out, class In, uint32_t Max>
class CopyingConverter : public Converter<CopyingConverter<Out, In, Max>, Out, In> {
    friend class Converter<CopyingConverter<Out, In, Max>, Out, In>;

    Out convert()
    {
        for (;;) {
            const In unit = this->input();
            if (unit <= Max)
                return static_cast<Out>(unit);
        }
    }
};

} // namespace KILN
