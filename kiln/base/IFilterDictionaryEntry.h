#pragma once

#include <cstdint>

namespace KILN {

// The converter chain for one pair of encodings: converter-table indexes,
// ended by the first -1 (at most 8 steps), and key = to + from * 65536.
struct IFilterDictionaryEntry {
    int32_t steps[9];
    int32_t from;
    int32_t to;
    int32_t lossy;
    int32_t key;
};

} // namespace KILN
