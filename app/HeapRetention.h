#pragma once

namespace KILN {

// Keeps freed heap memory in the process for the next allocation instead of
// handing it back to the system at once. A conversion builds and frees one
// document tree and one file buffer after another: returned each time, the
// same memory is faulted in again for the next document, which cost about a
// fifth of the post-process. The process stays at its peak size until it
// ends. Called once, at the start of each program.
void retainFreedHeap();

} // namespace KILN
