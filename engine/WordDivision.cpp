#include "engine/WordDivision.h"

#include "engine/Feature.h"
#include "engine/KazenohaRule.h"
#include "engine/RubyReading.h"
#include "engine/RunPieces.h"

#include <string_view>

using KILN::TString;
using KILN::TStringPtr;

namespace {

// Asks the processor for every node's feature before the walk reads them.
// The features lie scattered over the analyser's dictionary, so each first
// read would wait for memory on its own; requested together, the waits
// overlap. The first cache line holds what the rules read.
void prefetchFeatures(const MeCab::Node* first)
{
    for (const MeCab::Node* node = first; node; node = node->next)
        __builtin_prefetch(node->feature);
}

// The kazenoha rule over a run's nodes; each node is classified once and
// serves as the previous word for the next node.
void divideNodesKazenoha(const MeCab::Node* first, const EngineContext& context, TString<char>& output)
{
    WordClass prev = classifyWord(first->prev ? first->prev->feature : "");
    for (const MeCab::Node* node = first; node; node = node->next) {
        const WordClass cur = classifyWord(node->feature);
        bool isFunctionWord = false;
        if (kazenohaBreak(node, cur, prev, isFunctionWord) && context.wakachi)
            output.append(context.jyoshi_wakachi ? '~' : '_');
        else if (isFunctionWord && context.jyoshi_wakachi)
            output.append('~');
        appendWord(context, node, output);
        prev = cur;
    }
}

} // namespace

void divideText(const EngineContext& context, const TStringPtr<char>& input, TString<char>& output)
{
    PhraseRewriter rewriter(context);
    TString<char> run;
    const char* text = input.data();
    const uint32_t length = input.length();
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    uint32_t i = 0;
    // A zero byte is ASCII like any other: copied, and the text goes on.
    while (i < length) {
        const uint32_t begin = i;
        if (isAscii(text[i])) {
            while (i < length && isAscii(text[i]))
                ++i;
            output.append(text + begin, i - begin);
            continue;
        }
        while (i < length && !isAscii(text[i]))
            ++i;
        for (uint32_t from = begin; from < i;) {
            const uint32_t to = nextPieceEnd(text, from, i);
            run.assign(text + from, to - from);
            divideRunWithRewriter(run, context, output, rewriter);
            from = to;
        }
    }
}

void divideRunWithRewriter(TString<char>& run, const EngineContext& context, TString<char>& output,
                           PhraseRewriter& rewriter)
{
    const char* text = run.zeroTerminated();
    if (context.readings && context.ruby)
        context.readings->startRun(text, run.length());
    divideNodes(context.tagger->parseToNode(text), run, context, output, rewriter);
}

void divideNodes(const MeCab::Node* first, const TStringPtr<char>& run, const EngineContext& context,
                 TString<char>& output, PhraseRewriter& rewriter)
{
    prefetchFeatures(first);
    if (!first) {
        // Nothing of the text may be lost: keep the run undivided.
        output.append(run);
    } else if (context.kazenoha) {
        divideNodesKazenoha(first, context, output);
    } else {
        for (const MeCab::Node* node = first; node; node = node->next) {
            standardSeparator(node, context, output);
            appendWord(context, node, output);
        }
    }
    if (context.kazenoha)
        rewriter.apply(output);
}

void divideRun(TString<char>& run, const EngineContext& context, TString<char>& output)
{
    PhraseRewriter rewriter(context);
    divideRunWithRewriter(run, context, output, rewriter);
}

void standardSeparator(const MeCab::Node* node, const EngineContext& context, TString<char>& output)
{
    if (!node->prev)
        return;
    const std::string_view cur = featureColumn(node->feature, 0);
    const std::string_view prev = featureColumn(node->prev->feature, 0);
    if (prev == "BOS/EOS" || cur == "BOS/EOS" || cur == "記号" || (prev == "名詞" && cur == "名詞"))
        return;
    if (cur == "助詞" || cur == "助動詞") {
        if (context.jyoshi_wakachi)
            output.append('~');
    } else if (context.wakachi) {
        output.append('_');
    }
}
