#pragma once

#include <cstdint>
#include <string>

namespace KILN {

// Takes the value of the option argv[index]: the text after "=" when given,
// else the next argument (index then moves past it). Without a value, writes
// "ERROR: <option> needs a value." on standard error and answers false.
bool takeOptionValue(int32_t argc, char** argv, int32_t& index, const char* value, std::string& taken);

} // namespace KILN
