#include "engine/WordDivision.h"

#include "engine/RunPieces.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>

#include <string>

using KILN::TString;

namespace {

// Divides through the real analyser, on the converters' configuration.
class WordDivisionTest : public ::testing::Test {
protected:
    std::string divide(const std::string& text, bool kazenoha, bool wakachi, bool jyoshi, bool ruby)
    {
        context.kazenoha = kazenoha;
        context.wakachi = wakachi;
        context.jyoshi_wakachi = jyoshi;
        context.ruby = ruby;
        TString<char> output;
        divideText(context, TString<char>(text.data(), static_cast<uint32_t>(text.size())), output);
        return std::string(output.data(), output.length());
    }

    void SetUp() override
    {
        context.tagger.reset(zef::test::newPinnedTagger());
        ASSERT_TRUE(context.tagger) << MeCab::getLastError();
    }

    EngineContext context;
};

} // namespace

TEST_F(WordDivisionTest, AsciiIsCopiedWhateverTheFlags)
{
    for (int flags = 0; flags < 16; ++flags) {
        const std::string text = "Plain text_with~marks, 123.\r\t";
        EXPECT_EQ(divide(text, flags & 1, flags & 2, flags & 4, flags & 8), text) << flags;
        EXPECT_EQ(divide("", flags & 1, flags & 2, flags & 4, flags & 8), "");
    }
}

TEST_F(WordDivisionTest, StandardRule)
{
    const std::string text = "私は学校へ行きました。";
    EXPECT_EQ(divide(text, false, true, false, false), "私は_学校へ_行きました。");
    EXPECT_EQ(divide(text, false, true, true, false), "私~は_学校~へ_行き~まし~た。");
    EXPECT_EQ(divide(text, false, false, true, false), "私~は学校~へ行き~まし~た。");
    EXPECT_EQ(divide(text, false, false, false, false), text);
    // An ASCII character splits the text into runs analysed on their own.
    EXPECT_EQ(divide("学校 学校", false, true, false, false), "学校 学校");
    EXPECT_EQ(divide("本を読む", false, true, false, true), "｜本《ほん》を_｜読《よ》む");
}

TEST_F(WordDivisionTest, KazenohaRule)
{
    EXPECT_EQ(divide("私は学校へ行きました。", true, true, false, false), "私は_学校へ_行きました。");
    EXPECT_EQ(divide("私は学校へ行きました。", true, true, true, false), "私~は~学校~へ~行き~まし~た。");
    EXPECT_EQ(divide("私は学校へ行きました。", true, false, true, false), "私~は学校~へ行き~まし~た。");
    EXPECT_EQ(divide("食べてしまう", true, true, false, false), "食べて_しまう");
    EXPECT_EQ(divide("食べない", true, true, false, false), "食べない");
    // Interjections: not divided from each other, divided after other words.
    EXPECT_EQ(divide("ああおお", true, true, false, false), "ああおお");
    EXPECT_EQ(divide("はい、そう", true, true, false, false), "はい、そう") << "nothing after 、";
}

TEST_F(WordDivisionTest, PhraseTablesActOnTheWholeOutput)
{
    // という is one word to the analyser; the tables divide it.
    EXPECT_EQ(divide("これという", true, true, false, false), "これと_いう");
    EXPECT_EQ(divide("これという", true, true, true, false), "これ~と_いう");
    EXPECT_EQ(divide("これという", true, false, true, false), "これ~と~いう");
    EXPECT_EQ(divide("これという", true, false, false, false), "これという") << "no mark without division";
    // A typed "_" after 、 goes once a later run is analysed.
    EXPECT_EQ(divide("はい、_そう", true, true, false, false), "はい、そう");
    EXPECT_EQ(divide("はい、_", true, true, false, false), "はい、_");
}

TEST_F(WordDivisionTest, RubyReadings)
{
    EXPECT_EQ(divide("食べる", true, true, false, true), "｜食《た》べる");
    EXPECT_EQ(divide("引き出す", true, true, false, true), "｜引《ひ》き｜出《だ》す");
    EXPECT_EQ(divide("お茶", true, true, false, true), "お｜茶《ちゃ》");
    EXPECT_EQ(divide("学校", true, true, false, true), "｜学校《がっこう》");
    EXPECT_EQ(divide("ト書き", true, true, false, true), "｜ト書《とが》き");
    EXPECT_EQ(divide("彁", true, true, false, true), "彁") << "a word the dictionary lacks has no ruby";
    EXPECT_EQ(divide("テレビ", true, true, false, true), "テレビ");
    // A word met again is written the same way (from the context's cache).
    EXPECT_EQ(divide("学校と学校", false, false, false, true), "｜学校《がっこう》と｜学校《がっこう》");
    EXPECT_EQ(divide("学校", false, false, false, false), "学校");
}

TEST_F(WordDivisionTest, NothingIsLostOnLongOrOddInput)
{
    // Invalid UTF-8 and long runs reach the output without ruby.
    const std::string odd = "\xff\xfe\x80";
    EXPECT_EQ(divide(odd, true, false, false, false), odd);
    std::string longRun;
    for (int i = 0; i < 5000; ++i)
        longRun += "ア";
    EXPECT_EQ(divide(longRun, true, false, false, false), longRun);
}

TEST_F(WordDivisionTest, RunTooLongForTheAnalyserIsDividedInPieces)
{
    // A run of some megabytes without an ASCII byte came back undivided (the
    // analyser answers "too long sentence."; kazenohawakati's test runs one of
    // 16 MB). Cut before its sentence ends, a run of several pieces comes out
    // as the sentences would one by one.
    std::string text;
    std::string expected;
    while (text.size() < 3 * MaxPieceBytes) {
        text += "本を読む。";
        expected += "本を_読む。";
    }
    const std::string divided = divide(text, true, true, false, false);
    EXPECT_EQ(divided.size(), expected.size());
    EXPECT_TRUE(divided == expected);
}

TEST_F(WordDivisionTest, ZeroByteIsCopiedAndTheTextGoesOn)
{
    // Regression: the walk ended at the first zero byte, dropping the rest.
    using namespace std::string_literals;
    EXPECT_EQ(divide("前\0後\0"s, true, true, false, false), "前\0後\0"s);
    EXPECT_EQ(divide("本を読む\0本を読む"s, true, true, false, false), "本を_読む\0本を_読む"s);
}

TEST_F(WordDivisionTest, RunTheAnalyserRejectsIsKept)
{
    // Regression: a run without a node list used to vanish from the output.
    const TString<char> run("学校");
    for (bool kazenoha : {false, true}) {
        context.kazenoha = kazenoha;
        TString<char> output("、_");
        PhraseRewriter rewriter(context);
        divideNodes(nullptr, run, context, output, rewriter);
        EXPECT_EQ(std::string(output.data(), output.length()), kazenoha ? "、学校" : "、_学校");
    }
}
