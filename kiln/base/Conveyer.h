#pragma once

#include "kiln/base/IFlow.h"
#include "kiln/base/OFlow.h"

namespace KILN {

// Pumps every unit from an input flow into an output flow, in the narrowest
// width both carry, until the end of input, then flushes the output. A missing
// input raises code 6, a missing output code 7, no common width code 9; any
// other failure passes through after the units read so far were written.
void convey(IFlow* input, OFlow* output);

// As convey, in bytes only: both flows must carry 8-bit units (code 9 otherwise).
void conveyBytes(IFlow* input, OFlow* output);

} // namespace KILN
