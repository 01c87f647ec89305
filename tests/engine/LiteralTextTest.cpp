#include "engine/LiteralText.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>

#include <string>

using KILN::TString;

namespace {

// Divides through the real analyser with MeCab's default configuration.
class LiteralTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        context.tagger.reset(zef::test::newPinnedTagger());
        ASSERT_TRUE(context.tagger) << MeCab::getLastError();
    }

    std::string divided(const std::string& text)
    {
        TString<char> output;
        divideLiteralText(context, TString<char>(text.data(), static_cast<uint32_t>(text.size())), output);
        return std::string(output.data(), output.length());
    }

    std::string escaped(const std::string& text)
    {
        TString<char> output("<");
        escapeLiteralText(context, TString<char>(text.data(), static_cast<uint32_t>(text.size())), output);
        return std::string(output.data() + 1, output.length() - 1);
    }

    EngineContext context;
};

} // namespace

TEST_F(LiteralTextTest, TheAuthorsMarksAndBarsAreEscaped)
{
    EXPECT_EQ(divided("snake_case~x"), "snake__case~~x");
    EXPECT_EQ(divided("これは｜ひらがな《かな》です"), "これは＼｜ひらがな《_かな》です");
    EXPECT_EQ(divided("＼本"), "＼＼｜本《ほん》");
    EXPECT_EQ(divided("_｜＼~"), "__＼｜＼＼~~");
    EXPECT_EQ(divided(""), "");
    // Brackets without a bar before them read as text already.
    EXPECT_EQ(divided("〈ｚ〉《ｙ》"), "〈ｚ〉《ｙ》");
    context.wakachi = false;
    EXPECT_EQ(divided("第一章｜始まり"), "｜第《だい》｜一《いち》｜章《しょう》＼｜｜始《はじ》まり")
        << "the engine's own bar after a literal one";
}

TEST_F(LiteralTextTest, WithoutRubyNotationOnlyMarksAreEscaped)
{
    context.ruby = false;
    EXPECT_EQ(divided("本_｜＼本"), "本__｜＼_本");
    EXPECT_EQ(escaped("a_｜"), "a__｜");
}

TEST_F(LiteralTextTest, EscapingAloneNeitherDividesNorAnnotates)
{
    EXPECT_EQ(escaped("第3頁_~｜＼"), "第3頁__~~＼｜＼＼");
    EXPECT_EQ(escaped(""), "");
    EXPECT_EQ(escaped("\xEF\xBD"), "\xEF\xBD") << "a cut character at the end";
    EXPECT_EQ(divided(std::string("前_\0後", 8)), std::string("｜前《まえ》__\0｜後《のち》", 39))
        << "a zero byte is copied and the text goes on, as for divideText";
}
