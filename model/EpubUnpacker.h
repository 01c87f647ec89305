#pragma once

#include "kiln/base/PathString.h"
#include "model/UnpackLimits.h"

// Unpacks every entry of the EPUB archive at source into directory (which
// this conversion created). Entry names that would leave the directory
// (".." parts, absolute names, backslashes) or are not UTF-8 are refused
// before anything of the entry is written, as are link and encrypted
// entries; files are created without following a symbolic link in the way,
// and a read error, a bad checksum or data ending before the recorded size
// fails the entry, naming it and the reason. A book beyond the limits
// (entries, unpacked size, compression ratio) is refused before anything is
// unpacked. Where workerCount() allows more than one thread, entries are
// inflated ahead on worker threads; the files written and the error raised
// for a damaged book are the same as on one. Raises errors 3 to 7 and 29.
void unpackEpub(const KILN::PathString& source, const KILN::PathString& directory,
                const UnpackLimits& limits = UnpackLimits());
