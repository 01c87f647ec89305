#pragma once

#include "kiln/base/TString.h"

#include <cstdint>
#include <vector>

// Handing the readings of a second analysis to the words of the first where
// the two cut a stretch of text differently. The readings are split only
// where the split is plain: over okurigana (hiragana read as themselves) and,
// inside a run of kanji that words of the first analysis share, where all of
// them but one keep their own reading as a prefix or a suffix of it.

// A word of a group: its characters [begin, end) of the group's code points
// and its reading in hiragana; without known it has none.
struct GroupWord {
    uint32_t begin;
    uint32_t end;
    KILN::TString<unsigned int> reading;
    bool known;
};

// Splits reading (hiragana) over the runs of surface that are not hiragana,
// in order, when exactly one split reads every hiragana run as itself and
// gives every other run at least one character. False when there is none or
// more than one (or the word is too long to try).
bool splitOverKana(const KILN::TString<unsigned int>& surface, const KILN::TString<unsigned int>& reading,
                   std::vector<KILN::TString<unsigned int>>& runReadings);

// A run of kanji that whole words of the first analysis, first to last,
// make up, which the second reads as one but whose reading their own
// readings do not split: it can only be written as one ruby.
struct SharedRun {
    uint32_t first;
    uint32_t last;
    KILN::TString<unsigned int> reading;
};

// What the second words give the first ones: a reading for each first word,
// empty where a word holds only hiragana, or where the second words give its
// characters no plain reading, so that it keeps its own; and the shared runs
// without a split.
struct Distribution {
    std::vector<KILN::TString<unsigned int>> readings;
    std::vector<SharedRun> shared;
};

// Both lists cover text, [0, length), each word after the other; the first
// words carry their own readings, which anchor the split of a kanji run they
// share.
Distribution distributeReadings(const KILN::TString<unsigned int>& text, const std::vector<GroupWord>& first,
                                const std::vector<GroupWord>& second);
