#pragma once

#include "kiln/base/Element.h"
#include "kiln/base/XMLSourceMap.h"
#include "model/Diagnostic.h"

#include <string>
#include <vector>

// Finds, in the text nodes below body that the post-process would convert,
// every malformed ruby notation (an error: the post-process fails on it) and
// the notation that converts but is most likely a slip (a warning): a
// reading with a division mark, a kanji or an ASCII letter in it, an empty
// reading, a base of kana only, a reading running into the next ｜ (a
// forgotten 》 makes a group of the pairs), and a 《, 》 or ｜ outside any
// notation. sources gives where each text node starts; the text must hold
// references as marked pieces of their written length.
void checkNotation(KILN::Element& body, const KILN::XMLSourceMap& sources, const std::string& document,
                   std::vector<Diagnostic>& diagnostics);

// The message of a syntax error of parseRuby.
const char* rubyErrorMessage(int32_t error);
