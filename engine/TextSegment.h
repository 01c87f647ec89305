#pragma once

#include "kiln/base/TString.h"

// One run of a word's characters that are all hiragana or all not, with the
// part of the word's reading that belongs to it.
struct TextSegment {
    KILN::TString<unsigned int> text;
    // Empty until alignReading assigns one.
    KILN::TString<unsigned int> reading;
    bool hiragana = false;
};
