#pragma once

#include "kiln/base/PathString.h"
#include "model/PageBreaks.h"

#include <vector>

// Reads the navigation document at path, replaces its page list by one built
// from items and writes it back. Raises 18 (missing), 19 (not well-formed or
// without body; a grammar error as its diagnostic, under bookName when
// given), 20, 21 or 22 (writing failed).
void rebuildNavigation(const KILN::PathString& path, const std::vector<TocItem>& items, const char* bookName = nullptr);
