#pragma once

#include <cstdint>

namespace KILN {

// One name of an encoding: its identifier and a static zero-terminated name.
struct CenDictionaryEntry {
    int32_t id;
    const char* name;
};

} // namespace KILN
