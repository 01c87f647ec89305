#pragma once

#include "kiln/base/StringIFlow.h"

#include <cstdint>
#include <string>

// What a detector answers for a byte string.
template <class D>
int32_t detectBytes(D& detector, const std::string& bytes)
{
    KILN::StringIFlow<char> flow(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return detector.detect(flow);
}

// The same with a new detector.
template <class D>
int32_t detectBytes(const std::string& bytes)
{
    D detector;
    return detectBytes(detector, bytes);
}
