#include "engine/PhraseRewriter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using KILN::TString;

namespace {

struct Pair {
    std::string pattern;
    std::string replacement;
};

const std::vector<Pair> plainTable = {
    {"、_", "、"}, {"。_", "。"}, {"，_", "，"}, {"．_", "．"}, {"「_", "「"}, {"（_", "（"},
    {"に対して", "に_対して"}, {"という", "と_いう"}, {"やって来", "やって_来"}, {"その後に", "その_後に"},
    {"ず_うっと", "ずうっと"}, {"四分_音符", "四分音符"}, {"音符一こ", "音符_一こ"}, {"はじっ_こ", "はじっこ"},
    {"木の下", "木の_下"},
};

const std::vector<Pair> rubyTable = {
    {"、_", "、"}, {"。_", "。"}, {"，_", "，"}, {"．_", "．"}, {"「_", "「"},
    {"に｜対《たい》して", "に_｜対《たい》して"}, {"という", "と_いう"}, {"やって｜来《き》", "やって_｜来《き》"},
    {"その｜後《ご》に", "その_｜後《ご》に"}, {"ず_うっと", "ずうっと"},
    {"｜四《よん》｜分《ふん》_｜音符《おんぷ》｜一《いち》こ", "｜四分音符《しぶおんぷ》_｜一《いっ》こ"},
    {"｜四《よん》｜分《ふん》_｜音符《おんぷ》", "｜四分音符《しぶおんぷ》"},
    {"｜音符《おんぷ》｜一《いち》こ", "｜音符《おんぷ》_｜一《いっ》こ"}, {"はじっ_こ", "はじっこ"},
    {"｜木《こ》の｜下《した》で", "｜木《き》の｜下《した》で"},
};

std::string particle(std::string text)
{
    for (char& c : text) {
        if (c == '_')
            c = '~';
    }
    return text;
}

EngineContext context(bool ruby, bool wakachi, bool jyoshi)
{
    EngineContext c;
    c.ruby = ruby;
    c.wakachi = wakachi;
    c.jyoshi_wakachi = jyoshi;
    return c;
}

std::string rewritten(const EngineContext& c, const std::string& text)
{
    TString<char> output(text.data(), static_cast<uint32_t>(text.size()));
    applyPhraseTables(c, output);
    return std::string(output.data(), output.length());
}

// The reference: every pair of every pass over the whole text, the first
// occurrence replaced until there is none.
void plainLoop(const EngineContext& c, std::string& text)
{
    const std::vector<Pair>& table = c.ruby ? rubyTable : plainTable;
    for (bool second : {false, true}) {
        if (second ? !c.jyoshi_wakachi : !c.wakachi)
            continue;
        for (const Pair& pair : table) {
            const std::string pattern = second ? particle(pair.pattern) : pair.pattern;
            const std::string replacement = second ? particle(pair.replacement) : pair.replacement;
            for (size_t at; (at = text.find(pattern)) != std::string::npos;)
                text.replace(at, pattern.size(), replacement);
        }
    }
}

} // namespace

TEST(PhraseRewriterTest, EveryPairInTheMarkPass)
{
    for (bool ruby : {false, true}) {
        for (const Pair& pair : ruby ? rubyTable : plainTable) {
            const EngineContext c = context(ruby, true, false);
            EXPECT_EQ(rewritten(c, "あ" + pair.pattern + "い"), "あ" + pair.replacement + "い") << pair.pattern;
        }
    }
}

TEST(PhraseRewriterTest, EveryPairInTheParticlePass)
{
    // Without word division only the particle pass runs.
    for (bool ruby : {false, true}) {
        for (const Pair& pair : ruby ? rubyTable : plainTable) {
            const EngineContext c = context(ruby, false, true);
            EXPECT_EQ(rewritten(c, "あ" + particle(pair.pattern) + "い"), "あ" + particle(pair.replacement) + "い")
                << pair.pattern;
        }
    }
}

TEST(PhraseRewriterTest, TheMarkPassRunsFirst)
{
    const EngineContext both = context(false, true, true);
    // Already rewritten with "_" when the particle pass looks for it.
    EXPECT_EQ(rewritten(both, "これという"), "これと_いう");
    EXPECT_EQ(rewritten(both, "、~あ。_い"), "、あ。い");
    EXPECT_EQ(rewritten(context(false, true, false), "、~あ"), "、~あ") << "no particle pass";
    EXPECT_EQ(rewritten(context(true, true, false), "（_あ"), "（_あ") << "the ruby table has no （ pair";
}

TEST(PhraseRewriterTest, NoDivisionMarksWithoutWordDivision)
{
    // Regression: with wakachi off the "_" pass used to insert word divisions.
    EXPECT_EQ(rewritten(context(false, false, false), "これという、_木の下"), "これという、_木の下");
    EXPECT_EQ(rewritten(context(false, false, true), "これという木の下"), "これと~いう木の~下");
}

TEST(PhraseRewriterTest, ReplacementsCascade)
{
    const EngineContext c = context(false, true, false);
    EXPECT_EQ(rewritten(c, "、___あ"), "、あ") << "a removed mark uncovers the next";
    EXPECT_EQ(rewritten(c, "四分_音符一こ"), "四分音符_一こ") << "a later pair sees an earlier result";
    EXPECT_EQ(rewritten(c, "ASCII、_ and 。_"), "ASCII、 and 。");
    EXPECT_EQ(rewritten(context(true, true, false), "｜四《よん》｜分《ふん》_｜音符《おんぷ》｜一《いち》こ"),
              "｜四分音符《しぶおんぷ》_｜一《いっ》こ");
}

TEST(PhraseRewriterTest, IncrementalUseMatchesTheWholeTextLoop)
{
    // Pieces that build and break patterns across the boundaries of appended runs.
    std::vector<std::string> pieces = {
        "、", "。", "，", "．", "「", "（", "_", "_", "~", "~", "に", "対", "して", "と", "いう", "やって", "来",
        "その", "後", "ず", "うっと", "四分", "音符", "一こ", "はじっ", "こ", "木", "の", "下", "で", "｜", "《", "》",
        "四", "分", "よん", "ふん", "おんぷ", "いち", "たい", "き", "ご", "した", "a", " ", "あ",
    };
    for (const std::vector<Pair>* table : {&plainTable, &rubyTable}) {
        for (const Pair& pair : *table) {
            pieces.push_back(pair.pattern);
            pieces.push_back(particle(pair.pattern));
        }
    }
    std::mt19937 random(20261207);
    for (int flags = 0; flags < 8; ++flags) {
        const EngineContext c = context(flags & 1, flags & 2, flags & 4);
        for (int round = 0; round < 300; ++round) {
            PhraseRewriter rewriter(c);
            TString<char> output;
            std::string expected;
            const int runs = 1 + static_cast<int>(random() % 12);
            for (int run = 0; run < runs; ++run) {
                std::string chunk;
                const int length = static_cast<int>(random() % 10);
                for (int i = 0; i < length; ++i)
                    chunk += pieces[random() % pieces.size()];
                output.append(chunk.data(), static_cast<uint32_t>(chunk.size()));
                rewriter.apply(output);
                expected += chunk;
                plainLoop(c, expected);
                ASSERT_EQ(std::string(output.data(), output.length()), expected) << "flags " << flags;
            }
        }
    }
}

TEST(PhraseRewriterTest, QuadraticRescanOfOneLongRun)
{
    // Regression: every replacement restarted the search at the front of the
    // new text and moved the rest of it, so one long run with many
    // replacements took quadratic time (1.5 MB: minutes).
    const std::string piece = "これという木の下、__あ";
    const std::string rewrittenPiece = "これと_いう木の_下、あ";
    const EngineContext c = context(false, true, false);
    std::string text;
    std::string expected;
    while (text.size() < 1536 * 1024) {
        text += piece;
        expected += rewrittenPiece;
    }
    PhraseRewriter rewriter(c);
    TString<char> output(text.data(), static_cast<uint32_t>(text.size()));
    rewriter.apply(output);
    EXPECT_TRUE(std::string(output.data(), output.length()) == expected);
    // Appending more keeps the work on the new text.
    output.append("、_", 4);
    rewriter.apply(output);
    EXPECT_EQ(output.length(), expected.size() + 3);
}
