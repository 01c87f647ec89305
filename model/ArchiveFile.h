#pragma once

#include <ioapi.h>

// Minizip's file functions over a descriptor and a buffer of their own: the
// seeks between minizip's small reads and writes cost no system call, reads
// take the archive a buffer at a time, and writes reach the file a buffer at
// a time, the headers that minizip patches after an entry's data patched in
// place. Opens an existing archive for reading or creates one for writing
// (replacing what the name held, as fopen's "wb" does); a write that fails
// fails every later one and the close.
zlib_filefunc64_def bufferedArchiveFunctions();
