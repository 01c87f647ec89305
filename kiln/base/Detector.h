#pragma once

#include "kiln/base/Object.h"

#include <cstdint>

namespace KILN {

class IFlow;

// Guesses the character encoding of raw bytes so that the right converter
// chain can be built. A detector never throws.
class Detector : public Object {
public:
    // Reads from source, positioned at its first byte, and answers an encoding
    // identifier, or 0 when it cannot decide.
    virtual int32_t detect(IFlow& source) = 0;
    // Forgets what an earlier detection left behind.
    virtual void reset() = 0;

    // A new detector for a detector pseudo-encoding (40 to 42), owned by the
    // caller; null for any other identifier.
    static Detector* create(int32_t encodingId);
};

} // namespace KILN
