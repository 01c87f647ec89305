#pragma once

#include <cstdint>

namespace KILN {

// Loads and stores units of type U as little-endian bytes (the order in
// which the library's memory and file flows hold 16- and 32-bit units).
template <class U>
inline U loadLittleEndian(const uint8_t* bytes)
{
    U value = 0;
    for (unsigned i = 0; i < sizeof(U); ++i)
        value = static_cast<U>(value | static_cast<U>(bytes[i]) << (8 * i));
    return value;
}

template <class U>
inline void storeLittleEndian(U value, uint8_t* bytes)
{
    for (unsigned i = 0; i < sizeof(U); ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace KILN
