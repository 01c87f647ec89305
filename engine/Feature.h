#pragma once

#include "kiln/base/ArrayList.h"
#include "kiln/base/TString.h"

#include <mecab.h>

#include <cstdint>
#include <string_view>

// Access to the analyser's comma-separated feature strings (IPADIC layout:
// column 0 part of speech, 1-3 sub-classes, 4 conjugation type, 5 conjugation
// form, 6 base form, 7 reading) and to node surfaces.

// The text of column n; empty when the feature has fewer than n + 1 columns.
KILN::TString<char> featureColumn(const char* feature, uint32_t n);

// Makes columns hold every column of feature, in order, empty ones included;
// the text after the last comma is the last column. The strings already in the
// list are reused, new ones added and surplus ones deleted: the list's owner
// deletes what is left in it at the end.
void splitFeature(const char* feature, KILN::ArrayList<KILN::TString<char>>& columns);

// True when one of the columns 0 to 5 equals value exactly.
bool hasFeature(const KILN::ArrayList<KILN::TString<char>>& columns, std::string_view value);

// True when the text equals value exactly.
bool textIs(const KILN::TString<char>& text, std::string_view value);

// True when the node's surface (its length bytes) equals text exactly; false
// for a null node.
bool surfaceIs(const MeCab::Node* node, std::string_view text);
