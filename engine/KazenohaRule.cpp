#include "engine/KazenohaRule.h"

#include "engine/Feature.h"

#include <string_view>

// The rule looks at one word (cur) and the word before it (prev): a few
// contexts never divide (sentence boundaries, symbols, after opening or closing
// punctuation), then the word's part of speech picks one of the rules below.

namespace {

// No division after these.
constexpr std::string_view punctuation[] = {"、", "。", "「", "『"};

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

bool auxiliaryRule(const MeCab::Node* node, const WordClass& cur, const WordClass& prev)
{
    if (!cur.has(WordClass::SpecialNai) || previousSurfaceIs(node, "し"))
        return false;
    return !prev.is(WordClass::Verb);
}

bool adjectiveRule(const WordClass& cur, const WordClass& prev)
{
    if (cur.has(WordClass::Dependent))
        return false;
    return !(cur.has(WordClass::BaseIi) && prev.is(WordClass::Noun));
}

bool nounRule(const MeCab::Node* node, const WordClass& cur, const WordClass& prev)
{
    if (cur.has(WordClass::Suffix))
        return false;
    if (cur.has(WordClass::Dependent)
        && (surfaceIs(node, "の") || surfaceIs(node, "ん") || cur.has(WordClass::AuxiliaryStem)
            || cur.has(WordClass::AdjectivalStem)))
        return false;
    if (prev.is(WordClass::Noun)) {
        // Compounds stay whole, except after "じゅう" and after a counter suffix.
        return previousSurfaceIs(node, "じゅう") || surfaceIs(node, "ぺたんと")
            || (prev.has(WordClass::Suffix) && prev.has(WordClass::Counter));
    }
    if (prev.is(WordClass::Prefix))
        return false;
    if (prev.is(WordClass::Adverb) && previousSurfaceIs(node, "とくべつ"))
        return false;
    return !(prev.is(WordClass::Adnominal) && previousSurfaceIs(node, "うち"));
}

bool verbRule(const MeCab::Node* node, const WordClass& cur, const WordClass& prev)
{
    if (prev.is(WordClass::Noun)) {
        if (previousSurfaceIs(node, "いつ"))
            return false;
        if (previousSurfaceIs(node, "じゅう"))
            return true;
    }
    if (cur.has(WordClass::Suffix))
        return false;
    if (cur.has(WordClass::Dependent))
        return cur.has(WordClass::DividingVerb) || (cur.has(WordClass::BaseNaru) && previousSurfaceIs(node, "ば"));
    if (cur.has(WordClass::PassiveStem))
        return false;
    if (cur.has(WordClass::SuruVerb)) {
        if (prev.is(WordClass::Noun))
            return previousSurfaceIs(node, "何");
        if (prev.is(WordClass::Adverb))
            return true;
    }
    // A verb after a verb or a prefix stays joined to it.
    return !prev.is(WordClass::Verb) && !prev.is(WordClass::Prefix);
}

} // namespace

bool kazenohaBreak(const MeCab::Node* node, bool& isFunctionWord)
{
    const WordClass cur = classifyWord(node->feature);
    const WordClass prev = classifyWord(node->prev ? node->prev->feature : "");
    return kazenohaBreak(node, cur, prev, isFunctionWord);
}

bool kazenohaBreak(const MeCab::Node* node, const WordClass& cur, const WordClass& prev, bool& isFunctionWord)
{
    isFunctionWord = cur.is(WordClass::Particle) || cur.is(WordClass::Auxiliary);
    if (node->char_type == 0 || prev.is(WordClass::BosEos) || cur.is(WordClass::BosEos) || cur.is(WordClass::Symbol)
        || followsPunctuation(node))
        return false;
    switch (cur.part) {
    case WordClass::Particle:
        return false;
    case WordClass::Auxiliary:
        return auxiliaryRule(node, cur, prev);
    case WordClass::Adverb:
    case WordClass::Adnominal:
    case WordClass::Prefix:
    case WordClass::Conjunction:
        return true;
    case WordClass::Interjection:
        return !prev.is(WordClass::Interjection);
    case WordClass::Adjective:
        return adjectiveRule(cur, prev);
    case WordClass::Noun:
        return nounRule(node, cur, prev);
    case WordClass::Verb:
        return verbRule(node, cur, prev);
    default:
        return false;
    }
}
