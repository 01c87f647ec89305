#pragma once

#include "engine/EngineContext.h"
#include "engine/PatternSet.h"
#include "kiln/base/TString.h"

#include <cstdint>
#include <string>
#include <string_view>

// Rewrites the phrases whose division the kazenoha rules get wrong, through a
// fixed table of (pattern, replacement) pairs: the plain table, or with ruby
// output the ruby table. A first pass applies the pairs as written (their
// marks are "_"), a second pass, with particle division on, the same pairs
// with "~" for "_". Each pair is applied in order until its pattern no longer
// occurs, always replacing the first occurrence.
//
// One rewriter serves one growing output: apply() after every analysed run
// gives the output that applying every pair over the whole text would give,
// but searches each pattern only where the text changed since that pattern
// was last found absent, so the work follows the new text, not the whole.
// One scan of the changed text finds which patterns occur at all; only those
// are searched one by one and replaced.
class PhraseRewriter {
public:
    explicit PhraseRewriter(const EngineContext& context);

    // Applies the tables to output, which holds what the previous call left
    // with new text appended (all of it on the first call).
    void apply(KILN::TString<char>& output);

private:
    static constexpr uint32_t MaxRules = 30;

    // One pair, and the stretch [lo, hi) of the output that every occurrence
    // of its pattern overlaps (an empty stretch stands for the seam at lo);
    // without dirty the pattern does not occur at all.
    struct Rule {
        const KILN::TString<char>* pattern = nullptr;
        const KILN::TString<char>* replacement = nullptr;
        uint32_t lo = 0;
        uint32_t hi = 0;
        bool dirty = false;
    };

    // The stretch [from, to) of the output that holds every occurrence of
    // the rule's pattern: those overlapping [lo, hi).
    struct Window {
        uint32_t from;
        uint32_t to;
    };
    static Window windowOf(const Rule& rule, uint32_t length);
    // Records that removed units at `at` were replaced by inserted units.
    void edited(uint32_t at, uint32_t removed, uint32_t inserted);
    // Scans the windows of the dirty rules from index first on that are not
    // among present, the rules known to have an occurrence: those whose
    // patterns do not occur become clean. Answers present with the rules found.
    uint32_t sift(const KILN::TString<char>& output, uint32_t first, uint32_t present);
    // Replaces every occurrence of the rule's pattern; false when there was none.
    bool applyRule(Rule& rule, KILN::TString<char>& output);

    Rule m_rules[MaxRules];
    uint32_t m_ruleCount = 0;
    // The rules' patterns, rule i's with bit i.
    const PatternSet* m_patterns;
    // The output's length after the last apply().
    uint32_t m_seen = 0;
    // Scratch text of applyRule, kept for its storage; standard strings,
    // which grow geometrically as the text is rebuilt.
    std::string m_done;
    std::string m_seam;
};

// Applies the phrase tables chosen by context to the whole output.
void applyPhraseTables(const EngineContext& context, KILN::TString<char>& output);

// True when the notation holds a ruby ｜base《reading》 that a pattern of the
// ruby table names: a word written so may take part in a rewrite.
bool holdsPhraseRuby(std::string_view notation);
