#pragma once

#include <mecab.h>

#include <string>

// Whether the tagger's dictionary is one the engine reads right: UTF-8 text
// with the IPADIC feature layout. MeCab takes whatever dictionary its
// configuration names (another one may rank first in the system's choice), and
// with another charset or layout the text would come out undivided or with
// feature columns as readings.

// Empty when the tagger's system dictionary is UTF-8 and analyses the probe
// word 食べる in the IPADIC layout; else what is wrong, for a message.
std::string dictionaryProblem(MeCab::Tagger& tagger);

// The two checks on their own. charsetProblem: empty for the names of UTF-8
// (in any case). layoutProblem: on the node list the dictionary answered for
// the probe word (null when it answered none).
std::string charsetProblem(const char* charset);
std::string layoutProblem(const MeCab::Node* first);

// The probe word, the base form of a verb in every dictionary.
constexpr const char* ProbeWord = "食べる";
