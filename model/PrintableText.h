#pragma once

#include <string>
#include <string_view>

// Text from a book (entry names, hrefs, paths below the working folder) made
// safe to print on a terminal or show in a dialog: control characters (C0,
// DEL, C1) and bytes that are not UTF-8 are written as \xHH, so that a name
// cannot retitle or clear the user's terminal, and every other character
// stays as it is.
std::string printableText(std::string_view text);
