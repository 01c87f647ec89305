#pragma once

#include "kiln/base/TString.h"

#include <cstdint>

namespace KILN {

// Converts the units [units, units + length) of encoding `from` into encoding
// `to` through the registry's converter chain, replacing the destination's
// text. False when there is no chain for the pair or the flows fail (the
// destination then keeps what was converted so far). Unit types: char,
// unsigned short and unsigned int, matching the encodings' widths.
template <class S, class D>
bool convertEncoding(const S* units, uint32_t length, int32_t from, int32_t to, TString<D>& destination);

template <class S, class D>
bool convertEncoding(const TStringPtr<S>& source, int32_t from, int32_t to, TString<D>& destination)
{
    return convertEncoding(source.data(), source.length(), from, to, destination);
}

} // namespace KILN
