#pragma once

#include "model/ZephraModelError.h"

#include <optional>

namespace zef::test {

// The model error that step raises, or none.
template <class Step>
std::optional<ZephraModelError> raisedError(Step&& step)
{
    try {
        step();
    } catch (const ZephraModelError& error) {
        return error;
    }
    return std::nullopt;
}

} // namespace zef::test
