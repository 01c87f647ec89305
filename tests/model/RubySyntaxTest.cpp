#include "model/RubySyntax.h"

#include "XhtmlRewriting.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using XhtmlRewriting::S;
using XhtmlRewriting::U;

namespace {

// The tokens of text as "kind:text" separated by spaces.
std::string tokenDump(const std::string& text)
{
    std::vector<RubySyntaxToken> tokens;
    tokenizeRuby(U(text), tokens);
    std::string dump;
    for (const RubySyntaxToken& token : tokens)
        dump += (dump.empty() ? "" : " ") + std::to_string(token.kind) + ":" + S(token.text);
    return dump;
}

// The units of text as "plain(text)" and "ruby(base/reading,...)", or
// "error N".
std::string unitDump(const std::string& text)
{
    std::vector<RubySyntaxToken> tokens;
    std::vector<RubySyntaxRubyUnit> units;
    tokenizeRuby(U(text), tokens);
    if (const int32_t error = parseRuby(tokens, units))
        return "error " + std::to_string(error);
    std::string dump;
    for (const RubySyntaxRubyUnit& unit : units) {
        if (unit.kind == RubySyntaxRubyUnit::Plain) {
            dump += "plain(" + S(unit.plain->text) + ")";
            continue;
        }
        dump += "ruby(";
        for (const RubySyntaxRubyPair& pair : unit.pairs)
            dump += S(pair.base->text) + "/" + S(pair.reading->text) + (&pair == &unit.pairs.back() ? "" : ",");
        dump += ")";
    }
    return dump;
}

struct Case {
    const char* text;
    const char* expected;
};

} // namespace

TEST(RubySyntaxTest, TokenizesTheNotation)
{
    const Case cases[] = {
        {"", ""},
        {"前｜漢字《かんじ》後", "0:前 1:漢字 3:かんじ 0:後"},
        {"｜B1《R1｜B2《R2》", "1:B1 5:R1 1:B2 3:R2"},
        {"｜B1〈R1｜B2《R2》", "1:B1 4:R1 1:B2 3:R2"},
        // Brackets without a base, and a doubled bar, are plain text.
        {"B《R》", "0:B《R》"},
        {"｜a｜｜b《c》", "1:a｜｜b 3:c"},
        // A reading never closed: its base is a token, the reading none.
        {"x｜B《R", "0:x 1:B"},
        // Closing brackets of the other style stay inside the reading.
        {"｜B〈a》b〉", "1:B 2:a》b"},
        {"｜B《》", "1:B 3:"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokenDump(c.text), c.expected) << c.text;
}

TEST(RubySyntaxTest, GroupsTokensIntoUnits)
{
    const Case cases[] = {
        {"P｜B《R》P", "plain(P)ruby(B/R)plain(P)"},
        {"｜B1《R1｜B2《R2》", "ruby(B1/R1,B2/R2)"},
        {"｜B1〈R1｜B2《R2》", "ruby(B1/R1)ruby(B2/R2)"},
        {"｜B1〈R1｜B2〈R2｜B3《R3｜B4《R4》x", "ruby(B1/R1,B2/R2)ruby(B3/R3,B4/R4)plain(x)"},
        {"｜B《R", "error 2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unitDump(c.text), c.expected) << c.text;
}

TEST(RubySyntaxTest, ReportsEachSyntaxError)
{
    using T = RubySyntaxToken;
    const struct {
        std::vector<int32_t> kinds;
        int32_t error;
    } cases[] = {
        {{T::Plain, T::DoubleAngleLast}, 1},
        {{T::AngleMore}, 1},
        {{T::Base}, 2},
        {{T::Base, T::Plain}, 3},
        {{T::Base, T::Base}, 3},
        {{T::Base, T::DoubleAngleMore}, 4},
        {{T::Base, T::AngleMore, T::Plain}, 5},
        {{T::Base, T::DoubleAngleMore, T::Base}, 6},
        {{T::Base, T::DoubleAngleMore, T::Base, T::Plain}, 7},
        {{T::Base, T::AngleLast, T::Plain, T::Base, T::DoubleAngleLast}, 0},
    };
    for (const auto& c : cases) {
        std::vector<RubySyntaxToken> tokens;
        for (int32_t kind : c.kinds)
            tokens.push_back(RubySyntaxToken{kind, U("t")});
        std::vector<RubySyntaxRubyUnit> units;
        EXPECT_EQ(parseRuby(tokens, units), c.error) << "tokens: " << c.kinds.size();
    }
}

TEST(RubySyntaxTest, PlainTextBetweenTwoRubyGroupsIsKept)
{
    EXPECT_EQ(tokenDump("お｜茶《ちゃ》を_｜飲《の》んだ"), "0:お 1:茶 3:ちゃ 0:を_ 1:飲 3:の 0:んだ");
    EXPECT_EQ(tokenDump("｜A〈a〉b｜C《c》"), "1:A 2:a 0:b 1:C 3:c");
}

TEST(RubySyntaxTest, OpeningBracketEndsTheReadingOfTheOtherStyle)
{
    EXPECT_EQ(tokenDump("｜A〈a｜B《b｜C《c》"), "1:A 4:a 1:B 5:b 1:C 3:c");
    EXPECT_EQ(unitDump("｜A〈a｜B《b｜C《c》"), "ruby(A/a)ruby(B/b,C/c)");
    EXPECT_EQ(tokenDump("｜A《a｜B〈b｜C〈c〉"), "1:A 5:a 1:B 4:b 1:C 2:c");
}

TEST(RubySyntaxTest, DanglingBaseStaysPlainText)
{
    const Case cases[] = {
        {"｜abc", "0:｜abc"},
        {"x｜abc", "0:x｜abc"},
        {"x｜abc｜d《e》", "0:x｜abc 1:d 3:e"},
        {"｜d《e》｜abc", "1:d 3:e 0:｜abc"},
        {"｜d《e》f｜abc〉", "1:d 3:e 0:f｜abc〉"},
        // Inside a group the dangling base breaks the group: an error, not a lost base.
        {"｜A《a｜B｜C《c》", "1:A 5:a 0:｜B 1:C 3:c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokenDump(c.text), c.expected) << c.text;
    EXPECT_EQ(unitDump("｜A《a｜B｜C《c》"), "error 5");
    EXPECT_EQ(unitDump("x｜abc｜d《e》"), "plain(x｜abc)ruby(d/e)");
}

TEST(RubySyntaxTest, EscapedNotationCharactersAreText)
{
    const Case cases[] = {
        {"＼｜ABC《DEF》", "0:｜ABC《DEF》"},
        {"＼｜＼｜", "0:｜｜"},
        {"＼《＼》＼〈＼〉＼＼", "0:《》〈〉＼"},
        // The engine's own bar right after an escaped one opens a base.
        {"＼｜｜始《はじ》まり", "0:｜ 1:始 3:はじ 0:まり"},
        {"＼＼｜漢《かん》", "0:＼ 1:漢 3:かん"},
        // Inside a base and a reading.
        {"｜漢＼《字《か＼》ん＼｜じ》", "1:漢《字 3:か》ん｜じ"},
        {"｜A〈a＼〉b〉", "1:A 2:a〉b"},
        // ＼ before anything else, or at the end, is itself.
        {"＼a＼_＼", "0:＼a＼_＼"},
        {"｜B《R》＼", "1:B 3:R 0:＼"},
        // A doubled bar still stays as both characters.
        {"a｜｜b《c》", "0:a｜｜b《c》"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokenDump(c.text), c.expected) << c.text;
    // A dangling base keeps its escapes resolved too.
    EXPECT_EQ(unitDump("x｜a＼《b｜d《e》"), "plain(x｜a《b)ruby(d/e)");
    // An escape inside a marked reference is part of the reference.
    EXPECT_EQ(tokenDump("\x01" "a＼｜\x02｜B《R》"), "0:\x01" "a＼｜\x02 1:B 3:R");
}

TEST(RubySyntaxTest, MarkedReferencesAreNeverCut)
{
    // A reference whose name holds notation characters is one piece of text.
    EXPECT_EQ(tokenDump("\x01" "a｜b《c》\x02"), "0:\x01" "a｜b《c》\x02");
    EXPECT_EQ(tokenDump("｜\x01#x6F22\x02《かん》"), "1:\x01#x6F22\x02 3:かん");
    EXPECT_EQ(tokenDump("｜B《\x01r》\x02》"), "1:B 3:\x01r》\x02");
    // A start marker without an end is an ordinary character.
    EXPECT_EQ(tokenDump("\x01｜B《R》"), "0:\x01 1:B 3:R");
}

// Rendering what the parser made, with the notation put back, gives the text
// again: no character is lost or doubled.
TEST(RubySyntaxTest, RandomTextsAreCoveredExactly)
{
    const char* const pieces[] = {"｜", "《", "》", "〈", "〉", "a", "漢", "_", "\x01", "\x02"};
    std::mt19937 random(20240521);
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> size(0, 14);
    int parsed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = size(random); n > 0; --n)
            text += pieces[pick(random)];
        std::vector<RubySyntaxToken> tokens;
        tokenizeRuby(U(text), tokens);
        if (text.find("《") == std::string::npos && text.find("〈") == std::string::npos) {
            std::string joined;
            for (const RubySyntaxToken& token : tokens) {
                EXPECT_EQ(token.kind, RubySyntaxToken::Plain) << text;
                joined += S(token.text);
            }
            EXPECT_EQ(joined, text);
            continue;
        }
        std::vector<RubySyntaxRubyUnit> units;
        if (parseRuby(tokens, units) != 0)
            continue;
        ++parsed;
        std::string rendered;
        // Whether the reading written last ended with the bar of the next pair.
        bool separated = false;
        for (const RubySyntaxRubyUnit& unit : units) {
            if (unit.kind == RubySyntaxRubyUnit::Plain) {
                rendered += S(unit.plain->text);
                separated = false;
                continue;
            }
            for (const RubySyntaxRubyPair& pair : unit.pairs) {
                const int32_t kind = pair.reading->kind;
                const bool angle = kind == RubySyntaxToken::AngleLast || kind == RubySyntaxToken::AngleMore;
                if (!separated)
                    rendered += "｜";
                rendered += S(pair.base->text) + (angle ? "〈" : "《") + S(pair.reading->text);
                separated = kind == RubySyntaxToken::AngleMore || kind == RubySyntaxToken::DoubleAngleMore;
                rendered += separated ? "｜" : (angle ? "〉" : "》");
            }
        }
        EXPECT_EQ(rendered, text);
    }
    EXPECT_GT(parsed, 100);
}
