#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

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

// Loads count units; on a little-endian machine a plain copy.
template <class U>
inline void loadLittleEndian(const uint8_t* bytes, U* units, uint32_t count)
{
    if constexpr (sizeof(U) == 1 || std::endian::native == std::endian::little) {
        std::memcpy(units, bytes, size_t{count} * sizeof(U));
    } else {
        for (uint32_t i = 0; i < count; ++i)
            units[i] = loadLittleEndian<U>(bytes + size_t{i} * sizeof(U));
    }
}

template <class U>
inline void storeLittleEndian(U value, uint8_t* bytes)
{
    for (unsigned i = 0; i < sizeof(U); ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace KILN
