#include "app/HeapRetention.h"

#include <malloc.h>

namespace KILN {

namespace {

// Up to this much free memory at the top of a heap stays with it.
constexpr int TrimThreshold = 256 << 20;
// Blocks below this come from the heap, so a document's buffer is reused by
// the next instead of being mapped and unmapped (32 MiB: the most malloc
// accepts on 64-bit systems).
constexpr int MapThreshold = 32 << 20;
// A heap grows by this much beyond a request, in fewer and larger steps.
constexpr int TopPad = 16 << 20;
// No fast bins: the small blocks of a freed tree merge as they are freed, in
// the order they were made, instead of all at once on the next larger
// request, which walked the whole freed tree again.
constexpr int FastBinLimit = 0;

} // namespace

void retainFreedHeap()
{
    // Each setting that malloc refuses (another allocator, as under a
    // sanitizer) leaves its default: this is a matter of speed alone.
    mallopt(M_TRIM_THRESHOLD, TrimThreshold);
    mallopt(M_MMAP_THRESHOLD, MapThreshold);
    mallopt(M_TOP_PAD, TopPad);
    mallopt(M_MXFAST, FastBinLimit);
}

} // namespace KILN
