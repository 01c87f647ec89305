#pragma once

#include "kiln/base/PathString.h"

// The working directory of one EPUB conversion: "zef.N" (N from 0 to 9999)
// directly under the temporary folder ($TMPDIR when it names an existing
// folder, else /tmp), made by this call with mode 0700; nothing above it is
// created. A name that exists already, even
// as a directory, is never taken over: another user's directory would be
// unsafe to work in. Raises error 1 when no name is free or the temporary
// folder cannot take one.
KILN::PathString createWorkDirectory();

// Removes the working directory and everything below it without following
// symbolic links; raises error 2 naming the directory when that fails.
void removeWorkDirectory(const KILN::PathString& directory);

// True when path lies in directory or below it, links and ".." resolved as
// far as the folders exist: a destination there would be removed with the
// working directory.
bool holdsPath(const KILN::PathString& directory, const KILN::PathString& path);
