#pragma once

#include "engine/EngineContext.h"
#include "engine/PhraseRewriter.h"
#include "kiln/base/TString.h"

// The division driver: walks a UTF-8 text, hands every maximal run of
// non-ASCII bytes to the analyser on its own (a run too long for it in
// pieces) and copies ASCII bytes, zero included, as they are. Marks: "_" at
// a word division, "~" at a division in front of a particle or an auxiliary
// verb.

// Appends the divided text of input to output; a zero byte is copied like
// any ASCII byte.
// With the kazenoha rule the phrase tables act on the whole output, so output
// should hold nothing but this division.
void divideText(const EngineContext& context, const KILN::TStringPtr<char>& input, KILN::TString<char>& output);

// Divides one run of non-ASCII bytes into output; with the kazenoha rule the
// rewriter then brings the phrase tables up to date over output. A run the
// analyser cannot take is copied unchanged.
void divideRunWithRewriter(KILN::TString<char>& run, const EngineContext& context, KILN::TString<char>& output,
                           PhraseRewriter& rewriter);

// Divides the node list that the analyser answered for run; a null list
// (the analyser failed) copies run unchanged.
void divideNodes(const MeCab::Node* first, const KILN::TStringPtr<char>& run, const EngineContext& context,
                 KILN::TString<char>& output, PhraseRewriter& rewriter);

// divideRunWithRewriter for a run divided on its own: the tables act on all
// of output.
void divideRun(KILN::TString<char>& run, const EngineContext& context, KILN::TString<char>& output);

// Appends the mark that the standard rule puts in front of node, if any.
void standardSeparator(const MeCab::Node* node, const EngineContext& context, KILN::TString<char>& output);
