#pragma once

#include "kiln/base/PathString.h"

// Packs the book below directory into the EPUB archive destination: the
// packing root is the shallowest folder holding a "mimetype" file, whose
// "mimetype" goes first and stored, every other file follows deflated under
// its UTF-8 name relative to the root, in a stable (sorted) order. The
// archive is written beside destination and put in its place only when
// complete, so a failure leaves an existing destination untouched and no
// partial file. Raises errors 24 to 26.
void packEpub(const KILN::PathString& directory, const KILN::PathString& destination);
