#pragma once

#include "kiln/base/TString.h"

#include <string_view>

// Direct conversions between UTF-8 and code points for the short texts of
// the ruby notation (a word and its reading), one loop each.

// Makes text hold the code points of utf8; false, with text unspecified,
// when the bytes are not well-formed UTF-8 (a stray or missing continuation
// byte, an over-long form, a surrogate, a value above U+10FFFF).
bool decodeUtf8(std::string_view utf8, KILN::TString<unsigned int>& text);

// Appends the code points, Unicode scalar values, as UTF-8.
void appendUtf8(const KILN::TString<unsigned int>& text, KILN::TString<char>& output);
