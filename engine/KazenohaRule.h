#pragma once

#include "engine/FeatureColumns.h"

#include <mecab.h>

// The kazenoha publisher's word-division rules (IPADIC parts of speech).

// True when a division goes in front of node. isFunctionWord is set first,
// whatever the answer: true when the node is a particle or an auxiliary verb.
bool kazenohaBreak(const MeCab::Node* node, bool& isFunctionWord);

// The same decision on columns already split: cur of node's feature, prev of
// its previous node's feature (of the empty string when there is none).
bool kazenohaBreak(const MeCab::Node* node, const FeatureColumns& cur, const FeatureColumns& prev,
                   bool& isFunctionWord);
