#include "engine/KazenohaRule.h"

// The rule looks at one word (cur) and the word before it (prev): a few
// contexts never divide (sentence boundaries, symbols, after opening or closing
// punctuation), then the word's part of speech picks one of the rules below.

namespace {

// No division after these.
constexpr std::string_view punctuation[] = {"、", "。", "「", "『"};
// Non-independent verbs (base forms) that are divided from the word before.
constexpr std::string_view dividingVerbs[] = {"くれる", "いる", "いく", "しまう", "くる", "やる", "みる", "もらえる", "ゆく", "くださる"};

bool previousSurfaceIs(const MeCab::Node* node, std::string_view text)
{
    return surfaceIs(node->prev, text);
}

bool followsPunctuation(const MeCab::Node* node)
{
    for (std::string_view mark : punctuation) {
        if (previousSurfaceIs(node, mark))
            return true;
    }
    return false;
}

bool auxiliaryRule(const MeCab::Node* node, const FeatureColumns& cur, const FeatureColumns& prev)
{
    if (!cur.has("特殊・ナイ") || previousSurfaceIs(node, "し"))
        return false;
    return !prev.is(0, "動詞");
}

bool adjectiveRule(const FeatureColumns& cur, const FeatureColumns& prev)
{
    if (cur.has("非自立"))
        return false;
    return !(cur.is(6, "いい") && prev.is(0, "名詞"));
}

bool nounRule(const MeCab::Node* node, const FeatureColumns& cur, const FeatureColumns& prev)
{
    if (cur.has("接尾"))
        return false;
    if (cur.has("非自立")
        && (surfaceIs(node, "の") || surfaceIs(node, "ん") || cur.has("助動詞語幹") || cur.has("形容動詞語幹")))
        return false;
    if (prev.is(0, "名詞")) {
        // Compounds stay whole, except after "じゅう" and after a counter suffix.
        return previousSurfaceIs(node, "じゅう") || surfaceIs(node, "ぺたんと")
            || (prev.has("接尾") && prev.has("助数詞"));
    }
    if (prev.is(0, "接頭詞"))
        return false;
    if (prev.is(0, "副詞") && previousSurfaceIs(node, "とくべつ"))
        return false;
    return !(prev.is(0, "連体詞") && previousSurfaceIs(node, "うち"));
}

bool verbRule(const MeCab::Node* node, const FeatureColumns& cur, const FeatureColumns& prev)
{
    if (prev.is(0, "名詞")) {
        if (previousSurfaceIs(node, "いつ"))
            return false;
        if (previousSurfaceIs(node, "じゅう"))
            return true;
    }
    if (cur.has("接尾"))
        return false;
    if (cur.has("非自立")) {
        for (std::string_view verb : dividingVerbs) {
            if (cur.is(6, verb))
                return true;
        }
        return cur.is(6, "なる") && previousSurfaceIs(node, "ば");
    }
    if (cur.has("未然レル接続"))
        return false;
    if (cur.has("サ変・スル")) {
        if (prev.is(0, "名詞"))
            return previousSurfaceIs(node, "何");
        if (prev.is(0, "副詞"))
            return true;
    }
    // A verb after a verb or a prefix stays joined to it.
    return !prev.is(0, "動詞") && !prev.is(0, "接頭詞");
}

} // namespace

bool kazenohaBreak(const MeCab::Node* node, bool& isFunctionWord)
{
    const FeatureColumns cur(node->feature);
    const FeatureColumns prev(node->prev ? node->prev->feature : "");
    return kazenohaBreak(node, cur, prev, isFunctionWord);
}

bool kazenohaBreak(const MeCab::Node* node, const FeatureColumns& cur, const FeatureColumns& prev,
                   bool& isFunctionWord)
{
    const auto pos = [&cur](std::string_view value) { return cur.is(0, value); };
    isFunctionWord = pos("助詞") || pos("助動詞");
    if (node->char_type == 0 || prev.is(0, "BOS/EOS") || pos("BOS/EOS") || pos("記号") || followsPunctuation(node))
        return false;
    if (pos("助詞"))
        return false;
    if (pos("助動詞"))
        return auxiliaryRule(node, cur, prev);
    if (pos("副詞") || pos("連体詞") || pos("接頭詞") || pos("接続詞"))
        return true;
    if (pos("感動詞"))
        return !prev.is(0, "感動詞");
    if (pos("形容詞"))
        return adjectiveRule(cur, prev);
    if (pos("名詞"))
        return nounRule(node, cur, prev);
    if (pos("動詞"))
        return verbRule(node, cur, prev);
    return false;
}
