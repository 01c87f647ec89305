#include "app/OptionValue.h"

#include <cstdio>

namespace KILN {

bool takeOptionValue(int32_t argc, char** argv, int32_t& index, const char* value, std::string& taken)
{
    if (value) {
        taken = value;
        return true;
    }
    if (index + 1 < argc) {
        taken = argv[++index];
        return true;
    }
    std::fprintf(stderr, "ERROR: %s needs a value.\n", argv[index]);
    return false;
}

} // namespace KILN
