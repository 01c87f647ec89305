#pragma once

#include "kiln/base/TString.h"

#include <cstdint>

// Direct UTF-16 <-> UTF-8 loops for the text the pre-process hands to the
// engine and takes back, piece by piece: the library's converter chains cost
// a virtual call per unit and an exception at the end of every piece.

// Replaces utf8 with the UTF-8 form of the units; a lone surrogate becomes
// U+FFFD.
void utf16ToUtf8(const unsigned short* units, uint32_t length, KILN::TString<char>& utf8);

// Replaces units with the UTF-16 form of the bytes; a byte that begins no
// well-formed sequence becomes U+FFFD.
void utf8ToUtf16(const char* bytes, uint32_t length, KILN::TString<unsigned short>& units);
