#pragma once

// Runs of a program on endless input: a shell prefix that bounds the memory
// of the command after it, so that the input ends in an allocation failure
// within a second instead of exhausting the machine.

#include "tests/support/Sanitizers.h"

#include <string>

namespace zef::test {

// False under AddressSanitizer: it reserves far more address space than any
// bound allows, and its operator new dies instead of throwing.
constexpr bool memoryCanBeBounded()
{
    return !AddressSanitized;
}

// Limits the virtual memory of the commands that follow to about 1 GB.
inline std::string boundedMemoryPrefix()
{
    return "ulimit -v 1000000; ";
}

} // namespace zef::test
