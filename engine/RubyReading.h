#pragma once

#include "engine/EngineContext.h"
#include "engine/TextSegment.h"
#include "kiln/base/ArrayList.h"
#include "kiln/base/TString.h"

#include <string_view>

// Ruby readings: a word containing kanji is written as its runs of
// non-hiragana characters, each followed by its part of the dictionary's
// reading, as ｜base《reading》, while its hiragana (okurigana) stay bare.
// A word is converted from UTF-8 to code points once, its reading once, and
// its notation back to UTF-8 once; the steps in between work on code points.

// Appends node's surface, in ruby notation when it contains kanji, the
// dictionary (or context.readings) gives it a reading and context.ruby is on.
void appendWord(const EngineContext& context, const MeCab::Node* node, KILN::TString<char>& output);

// A reading column that gives no reading: missing (a word the dictionary
// lacks has none), empty, or the dictionary's "*" for a field without value.
bool isNoReading(std::string_view reading);

// True when every character is CJK punctuation, kana or a full-width form
// (the empty text too).
bool isKanaText(const KILN::TString<unsigned int>& text);

// True when the text is not kana text and holds at least one ideograph.
bool containsKanji(const KILN::TString<unsigned int>& text);

// Turns katakana ァ to ヶ into hiragana, in place.
void toHiragana(KILN::TString<unsigned int>& reading);

// Appends the segments of the surface to segments (the caller deletes them).
void segmentWord(const KILN::TString<unsigned int>& surface, KILN::ArrayList<TextSegment>& segments);

// Splits the hiragana reading over the segments: hiragana segments read as
// themselves and anchor the split, the runs between them take the rest.
void alignReading(KILN::ArrayList<TextSegment>& segments, const KILN::TString<unsigned int>& reading);

// Appends the segments as UTF-8, non-hiragana ones with a reading in ruby
// notation when context.ruby is on.
void writeRuby(const EngineContext& context, const KILN::ArrayList<TextSegment>& segments,
               KILN::TString<char>& output);
