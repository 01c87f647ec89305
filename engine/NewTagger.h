#pragma once

#include <mecab.h>

// A new MeCab tagger on the configuration file mecabrc, or on MeCab's default
// configuration when mecabrc is null; null when MeCab cannot start.
MeCab::Tagger* newTagger(const char* mecabrc);
