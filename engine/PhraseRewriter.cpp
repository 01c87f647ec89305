#include "engine/PhraseRewriter.h"

#include <cstring>
#include <string_view>

using KILN::TString;

namespace {

struct PhrasePair {
    std::string_view pattern;
    std::string_view replacement;
};

constexpr uint32_t PairCount = 15;

constexpr PhrasePair plainPairs[PairCount] = {
    {"、_", "、"},
    {"。_", "。"},
    {"，_", "，"},
    {"．_", "．"},
    {"「_", "「"},
    {"（_", "（"},
    {"に対して", "に_対して"},
    {"という", "と_いう"},
    {"やって来", "やって_来"},
    {"その後に", "その_後に"},
    {"ず_うっと", "ずうっと"},
    {"四分_音符", "四分音符"},
    {"音符一こ", "音符_一こ"},
    {"はじっ_こ", "はじっこ"},
    {"木の下", "木の_下"},
};

// With ruby output the words carry their readings, so the patterns do too.
constexpr PhrasePair rubyPairs[PairCount] = {
    {"、_", "、"},
    {"。_", "。"},
    {"，_", "，"},
    {"．_", "．"},
    {"「_", "「"},
    {"に｜対《たい》して", "に_｜対《たい》して"},
    {"という", "と_いう"},
    {"やって｜来《き》", "やって_｜来《き》"},
    {"その｜後《ご》に", "その_｜後《ご》に"},
    {"ず_うっと", "ずうっと"},
    {"｜四《よん》｜分《ふん》_｜音符《おんぷ》｜一《いち》こ", "｜四分音符《しぶおんぷ》_｜一《いっ》こ"},
    {"｜四《よん》｜分《ふん》_｜音符《おんぷ》", "｜四分音符《しぶおんぷ》"},
    {"｜音符《おんぷ》｜一《いち》こ", "｜音符《おんぷ》_｜一《いっ》こ"},
    {"はじっ_こ", "はじっこ"},
    {"｜木《こ》の｜下《した》で", "｜木《き》の｜下《した》で"},
};

// Replacing a pattern until it no longer occurs ends only when no
// replacement holds its own pattern, with either mark.
consteval bool terminates(const PhrasePair (&pairs)[PairCount])
{
    for (const PhrasePair& pair : pairs) {
        if (pair.pattern.empty() || pair.replacement.find(pair.pattern) != std::string_view::npos)
            return false;
    }
    return true;
}
static_assert(terminates(plainPairs) && terminates(rubyPairs));

// One table in one pass: the pairs as strings, with "~" for "_" in the
// particle pass.
struct PhraseTable {
    TString<char> patterns[PairCount];
    TString<char> replacements[PairCount];
};

TString<char> withMark(std::string_view text, bool particle)
{
    TString<char> marked(text.data(), static_cast<uint32_t>(text.size()));
    if (particle)
        marked.replaceAll(TString<char>("_"), TString<char>("~"));
    return marked;
}

const PhraseTable& phraseTable(bool ruby, bool particle)
{
    static const auto tables = [] {
        struct Tables {
            PhraseTable table[2][2];
        } built;
        for (int r = 0; r < 2; ++r) {
            for (int p = 0; p < 2; ++p) {
                for (uint32_t i = 0; i < PairCount; ++i) {
                    const PhrasePair& pair = (r ? rubyPairs : plainPairs)[i];
                    built.table[r][p].patterns[i] = withMark(pair.pattern, p);
                    built.table[r][p].replacements[i] = withMark(pair.replacement, p);
                }
            }
        }
        return built;
    }();
    return tables.table[ruby][particle];
}

// Where an edit that replaced `removed` units at `at` by `inserted` units
// moves position p: untouched before the edit, shifted after it, and to the
// edge of the new text inside it.
uint32_t moved(uint32_t p, uint32_t at, uint32_t removed, uint32_t inserted, bool upper)
{
    if (p <= at)
        return p;
    if (p >= at + removed)
        return p - removed + inserted;
    return upper ? at + inserted : at;
}

} // namespace

PhraseRewriter::PhraseRewriter(const EngineContext& context)
{
    // Without word division the "_" pass would put in marks nobody asked for.
    for (bool particle : {false, true}) {
        if (particle ? !context.jyoshi_wakachi : !context.wakachi)
            continue;
        const PhraseTable& table = phraseTable(context.ruby, particle);
        for (uint32_t i = 0; i < PairCount; ++i) {
            m_rules[m_ruleCount].pattern = &table.patterns[i];
            m_rules[m_ruleCount].replacement = &table.replacements[i];
            ++m_ruleCount;
        }
    }
}

void PhraseRewriter::apply(TString<char>& output)
{
    const uint32_t length = output.length();
    if (length > m_seen)
        edited(m_seen, 0, length - m_seen);
    else if (length < m_seen)
        edited(0, m_seen, length);
    for (uint32_t i = 0; i < m_ruleCount; ++i)
        applyRule(m_rules[i], output);
    m_seen = output.length();
}

void PhraseRewriter::applyRule(Rule& rule, TString<char>& output)
{
    const std::string_view pattern(rule.pattern->data(), rule.pattern->length());
    const uint32_t reach = static_cast<uint32_t>(pattern.size()) - 1;
    while (rule.dirty) {
        // Every occurrence overlaps [lo, hi), so it lies inside this window,
        // and the first one in the window is the first one in the output.
        const uint32_t from = rule.lo > reach ? rule.lo - reach : 0;
        const uint32_t to = rule.hi + reach < output.length() ? rule.hi + reach : output.length();
        // Most Japanese text starts its characters with the same byte, so a
        // search that keys on the first byte would stop everywhere.
        const char* base = output.data();
        const void* found = to > from ? memmem(base + from, to - from, pattern.data(), pattern.size()) : nullptr;
        if (!found) {
            rule.dirty = false;
            return;
        }
        const uint32_t at = static_cast<uint32_t>(static_cast<const char*>(found) - base);
        output.erase(at, static_cast<uint32_t>(pattern.size()));
        output.insert(at, *rule.replacement);
        edited(at, static_cast<uint32_t>(pattern.size()), rule.replacement->length());
    }
}

void PhraseRewriter::edited(uint32_t at, uint32_t removed, uint32_t inserted)
{
    // A new occurrence of any pattern must overlap the inserted text, or
    // straddle the seam at `at` when nothing was inserted.
    for (uint32_t i = 0; i < m_ruleCount; ++i) {
        Rule& rule = m_rules[i];
        if (rule.dirty) {
            const uint32_t lo = moved(rule.lo, at, removed, inserted, false);
            const uint32_t hi = moved(rule.hi, at, removed, inserted, true);
            rule.lo = lo < at ? lo : at;
            rule.hi = hi > at + inserted ? hi : at + inserted;
        } else {
            rule.dirty = true;
            rule.lo = at;
            rule.hi = at + inserted;
        }
    }
}

void applyPhraseTables(const EngineContext& context, TString<char>& output)
{
    PhraseRewriter(context).apply(output);
}
