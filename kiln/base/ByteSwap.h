#pragma once

// Byte reversal of 16- and 32-bit units, one at a time or a block in place.

#include <cstdint>

namespace KILN {

template <class T>
constexpr T swapBytes(T unit)
{
    static_assert(sizeof(T) == 2 || sizeof(T) == 4);
    if constexpr (sizeof(T) == 2)
        return __builtin_bswap16(unit);
    else
        return __builtin_bswap32(unit);
}

template <class T>
void swapBytes(T* units, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        units[i] = swapBytes(units[i]);
}

// Runs a block read into dest and swaps what arrived in place, also the units
// that arrived before the read failed.
template <class T, class Read>
void readSwapped(T* dest, uint32_t& got, Read read)
{
    try {
        read();
    } catch (...) {
        swapBytes(dest, got);
        throw;
    }
    swapBytes(dest, got);
}

} // namespace KILN
