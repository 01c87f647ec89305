#pragma once

#include "engine/WordClass.h"

#include <mecab.h>

// The kazenoha publisher's word-division rules (IPADIC parts of speech).

// True when a division goes in front of node. isFunctionWord is set first,
// whatever the answer: true when the node is a particle or an auxiliary verb.
bool kazenohaBreak(const MeCab::Node* node, bool& isFunctionWord);

// The same decision on words already classified: cur is node's class, prev
// its previous node's (the class of the empty feature when there is none).
bool kazenohaBreak(const MeCab::Node* node, const WordClass& cur, const WordClass& prev, bool& isFunctionWord);
