#include "engine/PhraseRewriter.h"

#include <algorithm>
#include <cstring>
#include <vector>
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

// The rubies ｜base《reading》 the ruby patterns name, each once.
const std::vector<std::string_view>& phraseRubies()
{
    static const std::vector<std::string_view> rubies = [] {
        std::vector<std::string_view> found;
        for (const PhrasePair& pair : rubyPairs) {
            for (size_t at = pair.pattern.find("｜"); at != std::string_view::npos;
                 at = pair.pattern.find("｜", at + 1)) {
                const size_t end = pair.pattern.find("》", at);
                const std::string_view ruby = pair.pattern.substr(at, end + std::string_view("》").size() - at);
                if (std::find(found.begin(), found.end(), ruby) == found.end())
                    found.push_back(ruby);
            }
        }
        return found;
    }();
    return rubies;
}

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

// The rewriter looks for all patterns of both passes together, keyed on
// their first three bytes.
consteval bool searchable(const PhrasePair (&pairs)[PairCount])
{
    for (const PhrasePair& pair : pairs) {
        if (pair.pattern.size() < 3)
            return false;
    }
    return 2 * PairCount <= PatternSet::MaxPatterns;
}
static_assert(searchable(plainPairs) && searchable(rubyPairs));

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

// The tables of the passes that run, in order; answers their number.
uint32_t passTables(bool ruby, bool wakachi, bool jyoshi, const PhraseTable* (&tables)[2])
{
    // Without word division the "_" pass would put in marks nobody asked for.
    uint32_t passes = 0;
    if (wakachi)
        tables[passes++] = &phraseTable(ruby, false);
    if (jyoshi)
        tables[passes++] = &phraseTable(ruby, true);
    return passes;
}

// The patterns of the passes that run, pattern i for rule i: built once for
// each choice of switches, since a rewriter is made for every divided text.
const PatternSet& patternSet(bool ruby, bool wakachi, bool jyoshi)
{
    static const auto sets = [] {
        struct Sets {
            PatternSet set[2][2][2];
        } built;
        for (int r = 0; r < 2; ++r) {
            for (int w = 0; w < 2; ++w) {
                for (int j = 0; j < 2; ++j) {
                    const PhraseTable* tables[2];
                    const uint32_t passes = passTables(r, w, j, tables);
                    for (uint32_t pass = 0; pass < passes; ++pass) {
                        for (const TString<char>& pattern : tables[pass]->patterns)
                            built.set[r][w][j].add(std::string_view(pattern.data(), pattern.length()));
                    }
                }
            }
        }
        return built;
    }();
    return sets.set[ruby][wakachi][jyoshi];
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
    : m_patterns(&patternSet(context.ruby, context.wakachi, context.jyoshi_wakachi))
{
    const PhraseTable* tables[2];
    const uint32_t passes = passTables(context.ruby, context.wakachi, context.jyoshi_wakachi, tables);
    for (uint32_t pass = 0; pass < passes; ++pass) {
        for (uint32_t i = 0; i < PairCount; ++i) {
            m_rules[m_ruleCount].pattern = &tables[pass]->patterns[i];
            m_rules[m_ruleCount].replacement = &tables[pass]->replacements[i];
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
    uint32_t present = sift(output, 0, 0);
    for (uint32_t i = 0; i < m_ruleCount; ++i) {
        // The text changed: the later rules it touched are looked for afresh.
        if (m_rules[i].dirty && applyRule(m_rules[i], output))
            present = sift(output, i + 1, present);
    }
    m_seen = output.length();
}

uint32_t PhraseRewriter::sift(const TString<char>& output, uint32_t first, uint32_t present)
{
    // The windows of the rules looked for, merged, so that the scan covers
    // each changed stretch once however many rules share it.
    Window windows[MaxRules];
    uint32_t count = 0;
    uint32_t wanted = 0;
    for (uint32_t i = first; i < m_ruleCount; ++i) {
        const Rule& rule = m_rules[i];
        if (!rule.dirty || (present & (1u << i)))
            continue;
        wanted |= 1u << i;
        const Window window = windowOf(rule, output.length());
        // Insertion by start: there are few windows.
        uint32_t at = count++;
        for (; at > 0 && windows[at - 1].from > window.from; --at)
            windows[at] = windows[at - 1];
        windows[at] = window;
    }
    uint32_t found = 0;
    for (uint32_t i = 0; i < count && found != wanted;) {
        Window merged = windows[i];
        for (++i; i < count && windows[i].from <= merged.to; ++i)
            merged.to = windows[i].to > merged.to ? windows[i].to : merged.to;
        if (merged.to > merged.from)
            found |= m_patterns->occurring(output.data() + merged.from, merged.to - merged.from, wanted & ~found);
    }
    for (uint32_t i = first; i < m_ruleCount; ++i) {
        if ((wanted & ~found) & (1u << i))
            m_rules[i].dirty = false;
    }
    return present | found;
}

PhraseRewriter::Window PhraseRewriter::windowOf(const Rule& rule, uint32_t length)
{
    const uint32_t reach = rule.pattern->length() - 1;
    return {rule.lo > reach ? rule.lo - reach : 0, rule.hi + reach < length ? rule.hi + reach : length};
}

bool PhraseRewriter::applyRule(Rule& rule, TString<char>& output)
{
    const char* pattern = rule.pattern->data();
    const uint32_t size = rule.pattern->length();
    const uint32_t reach = size - 1;
    const char* old = output.data();
    const uint32_t length = output.length();
    const auto [from, to] = windowOf(rule, length);
    // The text is rebuilt in one forward pass as old[0, base) + m_done +
    // old[read, length): replacing in place would move the rest of the text
    // once per replacement. m_done ends with the latest replacement, which
    // starts at m_done[at].
    uint32_t base = from;
    uint32_t read = from;
    uint32_t at = 0;
    bool replaced = false;
    m_done.clear();
    for (;;) {
        // The occurrence found: where it starts in m_done, and how many
        // units of old[read, length) it covers.
        uint32_t start = 0;
        uint32_t covered = 0;
        const char* hit = nullptr;
        if (replaced) {
            // After a replacement the first occurrence cannot start more
            // than reach units before it: one starting earlier and not
            // touching it was there before, and would have come first.
            if (at < reach && base > 0) {
                const uint32_t borrowed = reach - at < base ? reach - at : base;
                base -= borrowed;
                m_done.insert(0, old + base, borrowed);
                at += borrowed;
            }
            const uint32_t seamFrom = at > reach ? at - reach : 0;
            m_seam.assign(m_done, seamFrom);
            m_seam.append(old + read, length - read < reach ? length - read : reach);
            hit = static_cast<const char*>(memmem(m_seam.data(), m_seam.size(), pattern, size));
            if (hit) {
                start = seamFrom + static_cast<uint32_t>(hit - m_seam.data());
                covered = start + size > m_done.size() ? start + size - static_cast<uint32_t>(m_done.size()) : 0;
                m_done.resize(start);
            }
        }
        if (!hit) {
            // Nothing touches the latest replacement: the next occurrence, if
            // any, lies wholly in text this pass has not changed.
            // Most Japanese text starts its characters with the same byte, so
            // a search that keys on the first byte would stop everywhere.
            hit = read + size <= to ? static_cast<const char*>(memmem(old + read, to - read, pattern, size)) : nullptr;
            if (!hit)
                break;
            const uint32_t found = static_cast<uint32_t>(hit - old);
            m_done.append(old + read, found - read);
            start = static_cast<uint32_t>(m_done.size());
            covered = found + size - read;
        }
        read += covered;
        edited(base + start, size, rule.replacement->length());
        at = start;
        m_done.append(rule.replacement->data(), rule.replacement->length());
        replaced = true;
    }
    // The edits above marked this rule too; it now occurs nowhere.
    rule.dirty = false;
    if (!replaced)
        return false;
    m_done.append(old + read, length - read);
    output.erase(base, length - base);
    output.append(m_done.data(), static_cast<uint32_t>(m_done.size()));
    return true;
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

bool holdsPhraseRuby(std::string_view notation)
{
    for (const std::string_view ruby : phraseRubies()) {
        if (notation.find(ruby) != std::string_view::npos)
            return true;
    }
    return false;
}
