#pragma once

#include "kiln/base/PathString.h"

// Unpacks every entry of the EPUB archive at source into directory (which
// this conversion created). Entry names that would leave the directory
// (".." parts, absolute names, backslashes) are refused before anything is
// written, files are created without following a symbolic link in the way,
// and a read error or a bad checksum fails the entry. Raises errors 3 to 7.
void unpackEpub(const KILN::PathString& source, const KILN::PathString& directory);
