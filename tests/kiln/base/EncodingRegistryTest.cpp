#include "kiln/base/CenDictionary.h"
#include "kiln/base/CompositIFilter.h"
#include "kiln/base/ConverterTable.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/IFilterDictionary.h"
#include "kiln/base/Iterator.h"
#include "kiln/base/generated/ChainTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

using namespace KILN;

namespace {

class EncodingRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { EncodingRegistry::lifeCycle(true); }
    void TearDown() override { EncodingRegistry::lifeCycle(false); }
};

// The path rule, recomputed independently of the generator: every simple
// path is enumerated and the best by (lossy, length, index sequence) kept.
// US-ASCII and UTF-7 may only be an end of a chain (reaching the target ends
// a path, so a path that enters one never leaves it). Between two Unicode
// forms other than UCS-2, UCS-2 is entered only from UTF-7 and left only for
// UTF-16n, the one way through it that keeps characters above U+FFFF.
struct Best {
    bool found = false;
    bool lossy = false;
    std::vector<int32_t> steps;

    bool better(bool candidateLossy, const std::vector<int32_t>& candidate) const
    {
        if (!found)
            return true;
        if (candidateLossy != lossy)
            return !candidateLossy;
        if (candidate.size() != steps.size())
            return candidate.size() < steps.size();
        return candidate < steps;
    }
};

bool isUnicodeButUcs2(int32_t id)
{
    return id >= 4 && id <= 20;
}

bool allowed(const ConverterTableEntry& e, int32_t from, int32_t target)
{
    if ((e.to == 1 || e.to == 6) && e.to != target)
        return false;
    const bool keepSupplementary = isUnicodeButUcs2(from) && isUnicodeButUcs2(target);
    return !keepSupplementary || ((e.to != 2 || e.from == 6) && (e.from != 2 || e.to == 10));
}

void search(int32_t from, int32_t node, int32_t target, std::vector<bool>& visited, std::vector<int32_t>& path,
            bool lossy, Best& best)
{
    if (node == target) {
        if (best.better(lossy, path))
            best = {true, lossy, path};
        return;
    }
    // A path no shorter than a lossless best can never win.
    if (best.found && !best.lossy && !lossy && path.size() >= best.steps.size())
        return;
    if (best.found && lossy && path.size() >= best.steps.size())
        return;
    for (int32_t i = 0; i < ConverterTableEntry::Count; ++i) {
        const ConverterTableEntry& e = converterTable[i];
        if (e.from != node || visited[e.to] || !allowed(e, from, target))
            continue;
        visited[e.to] = true;
        path.push_back(i);
        search(from, e.to, target, visited, path, lossy || e.lossy != 0, best);
        path.pop_back();
        visited[e.to] = false;
    }
}

Best ruleChain(int32_t from, int32_t to)
{
    std::vector<bool> visited(43, false);
    std::vector<int32_t> path;
    Best best;
    visited[from] = true;
    search(from, from, to, visited, path, false, best);
    return best;
}

std::vector<int32_t> recordSteps(const IFilterDictionaryEntry& entry)
{
    std::vector<int32_t> steps;
    for (const int32_t* s = entry.steps; *s >= 0; ++s)
        steps.push_back(*s);
    return steps;
}

const IFilterDictionaryEntry* findChain(const IFilterDictionary& chains, int32_t from, int32_t to)
{
    const int key = IFilterDictionary::keyFor(from, to);
    return chains.find(&key);
}

} // namespace

TEST_F(EncodingRegistryTest, NamesFoldAsciiLettersOnly)
{
    EXPECT_EQ(EncodingRegistry::idOf("Shift_JIS"), 23);
    EXPECT_EQ(EncodingRegistry::idOf("shift_jis"), 23);
    EXPECT_EQ(EncodingRegistry::idOf("SHIFT_jIs"), 23);
    EXPECT_EQ(EncodingRegistry::idOf("UTF-8"), 7);
    EXPECT_EQ(EncodingRegistry::idOf("utf-8n"), 8);
    EXPECT_EQ(EncodingRegistry::idOf("xml-detector"), 41);
    EXPECT_EQ(EncodingRegistry::idOf("UTF_8"), 0);
    EXPECT_EQ(EncodingRegistry::idOf("utf-8 "), 0);
    EXPECT_EQ(EncodingRegistry::idOf("utf"), 0);
    EXPECT_EQ(EncodingRegistry::idOf(""), 0);
    EXPECT_EQ(EncodingRegistry::idOf(nullptr), 0);
    // Folding covers A-Z only: a byte above 7F never matches a letter.
    EXPECT_EQ(EncodingRegistry::idOf("utf-\xC8"), 0);
}

TEST_F(EncodingRegistryTest, NameTableHoldsEveryNameOnceInIdentifierOrder)
{
    std::set<int32_t> ids;
    int32_t count = 0;
    int32_t previous = 1;
    for (const CenDictionaryEntry* e = CenDictionary::names; e->name; ++e, ++count) {
        EXPECT_GE(e->id, previous) << e->name;
        previous = e->id;
        ids.insert(e->id);
        EXPECT_EQ(EncodingRegistry::idOf(e->name), e->id) << e->name;
    }
    EXPECT_EQ(count, 192);
    EXPECT_EQ(ids.size(), 42u);
    CenDictionary dictionary;
    EXPECT_EQ(dictionary.count(), 192u);
}

TEST_F(EncodingRegistryTest, ChainTableFollowsThePathRule)
{
    IFilterDictionary chains;
    EXPECT_EQ(chains.count(), 1482u);
    for (int32_t from = 1; from <= 39; ++from) {
        for (int32_t to = 1; to <= 39; ++to) {
            if (from == to)
                continue;
            const IFilterDictionaryEntry* entry = findChain(chains, from, to);
            ASSERT_NE(entry, nullptr) << from << "->" << to;
            const Best best = ruleChain(from, to);
            ASSERT_TRUE(best.found);
            EXPECT_EQ(recordSteps(*entry), best.steps) << from << "->" << to;
            EXPECT_EQ(entry->lossy, best.lossy ? -1 : 0) << from << "->" << to;
        }
    }
}

TEST_F(EncodingRegistryTest, ChainExamples)
{
    IFilterDictionary chains;
    auto path = [&](int32_t from, int32_t to) {
        std::vector<int32_t> nodes{from};
        for (int32_t step : recordSteps(*findChain(chains, from, to)))
            nodes.push_back(converterTable[step].to);
        return nodes;
    };
    EXPECT_EQ(path(1, 11), (std::vector<int32_t>{1, 2, 10, 12, 11}));
    EXPECT_EQ(findChain(chains, 1, 11)->lossy, 0);
    EXPECT_EQ(path(4, 7), (std::vector<int32_t>{4, 10, 7}));
    EXPECT_EQ(findChain(chains, 4, 7)->lossy, -1);
    EXPECT_EQ(path(9, 22), (std::vector<int32_t>{9, 10, 4, 2, 22}));
}

TEST_F(EncodingRegistryTest, ChainStepsJoinAndWidthsMatch)
{
    // Unit width of each encoding 1..39: 8, 16 or 32 bits.
    const uint32_t units[40] = {0,  8,  16, 16, 32, 32, 8,  8,  8,  16, 16, 32, 32, 16, 16, 16, 16, 32, 32, 32,
                                32, 8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8,  8};
    auto mask = [](uint32_t bits) { return bits == 8 ? 1u : bits == 16 ? 2u : 4u; };
    IFilterDictionary chains;
    for (int32_t from = 1; from <= 39; ++from) {
        for (int32_t to = 1; to <= 39; ++to) {
            std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(from, to));
            ASSERT_NE(chain, nullptr) << from << "->" << to;
            if (from == to) {
                EXPECT_EQ(chain->widths(), 7u);
                continue;
            }
            const std::vector<int32_t> steps = recordSteps(*findChain(chains, from, to));
            int32_t node = from;
            for (int32_t step : steps) {
                EXPECT_EQ(converterTable[step].from, node);
                node = converterTable[step].to;
            }
            EXPECT_EQ(node, to);
            EXPECT_EQ(chain->widths(), mask(units[to])) << from << "->" << to;
            EXPECT_EQ(chain->inputWidths(), mask(units[from])) << from << "->" << to;
        }
    }
}

TEST_F(EncodingRegistryTest, NamesIterateInFoldedOrder)
{
    CenDictionary dictionary;
    EXPECT_LT(dictionary.compare("ANSI_X3.4-1968", "ascii"), 0);
    EXPECT_EQ(dictionary.compare("Latin-9", "LATIN-9"), 0);
    EXPECT_LT(dictionary.compare("utf-8", "utf-8n"), 0);
    EXPECT_GT(dictionary.compare("utf8", "utf-8"), 0);
    Iterator<CenDictionaryEntry>* entries = dictionary.iterator();
    const CenDictionaryEntry* previous = nullptr;
    while (entries->hasNext()) {
        const CenDictionaryEntry* entry = entries->next();
        if (previous) {
            EXPECT_LT(dictionary.compare(previous->name, entry->name), 0) << entry->name;
        }
        previous = entry;
    }
    delete entries;
}

TEST_F(EncodingRegistryTest, MissingChainsAreNull)
{
    for (int32_t other : {0, 1, 10, 39, 43}) {
        for (int32_t detector : {40, 41, 42}) {
            EXPECT_EQ(EncodingRegistry::chain(detector, other), nullptr);
            EXPECT_EQ(EncodingRegistry::chain(other, detector), nullptr);
        }
    }
    EXPECT_EQ(EncodingRegistry::chain(0, 10), nullptr);
    EXPECT_EQ(EncodingRegistry::chain(10, 43), nullptr);
}

TEST_F(EncodingRegistryTest, ShutDownAndRestart)
{
    EncodingRegistry::lifeCycle(false);
    EncodingRegistry::lifeCycle(false);
    EXPECT_TRUE(EncodingRegistry::lifeCycle(true));
    EXPECT_EQ(EncodingRegistry::idOf("cp932"), 37);
    std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(37, 10));
    EXPECT_NE(chain, nullptr);
}

TEST_F(EncodingRegistryTest, JapaneseAliasesRealFilesDeclareAreKnown)
{
    for (const char* name : {"Windows-31J", "windows-31j", "MS932", "SJIS-win"})
        EXPECT_EQ(EncodingRegistry::idOf(name), EncodingRegistry::Cp932) << name;
    for (const char* name : {"x-sjis", "MS_Kanji", "csShiftJIS"})
        EXPECT_EQ(EncodingRegistry::idOf(name), EncodingRegistry::ShiftJis) << name;
    for (const char* name : {"x-euc-jp", "eucJP"})
        EXPECT_EQ(EncodingRegistry::idOf(name), EncodingRegistry::EucJp) << name;
}
