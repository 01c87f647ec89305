#include "engine/ReadingAlignment.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using KILN::TString;

namespace {

using Wide = TString<unsigned int>;

Wide wide(const std::string& utf8)
{
    return Wide(TString<char>(utf8.c_str()));
}

std::string narrow(const Wide& text)
{
    const TString<char> utf8(text);
    return std::string(utf8.data(), utf8.length());
}

std::vector<std::string> split(const std::string& surface, const std::string& reading)
{
    std::vector<Wide> runs;
    std::vector<std::string> readings;
    if (!splitOverKana(wide(surface), wide(reading), runs))
        return {"none"};
    for (const Wide& run : runs)
        readings.push_back(narrow(run));
    return readings;
}

// Words (surface, reading; "" for none) one after the other over text.
std::vector<GroupWord> groupWords(const std::vector<std::pair<std::string, std::string>>& words, Wide& text)
{
    std::vector<GroupWord> group;
    text.clear();
    for (const auto& [surface, reading] : words) {
        const Wide characters = wide(surface);
        group.push_back(GroupWord{text.length(), text.length() + characters.length(), wide(reading), !reading.empty()});
        text.append(characters);
    }
    return group;
}

std::vector<std::string> distributed(const std::vector<std::pair<std::string, std::string>>& first,
                                     const std::vector<std::pair<std::string, std::string>>& second)
{
    Wide text;
    Wide secondText;
    const std::vector<GroupWord> firstWords = groupWords(first, text);
    const std::vector<GroupWord> secondWords = groupWords(second, secondText);
    EXPECT_EQ(narrow(text), narrow(secondText));
    std::vector<std::string> readings;
    for (const Wide& reading : distributeReadings(text, firstWords, secondWords).readings)
        readings.push_back(narrow(reading));
    return readings;
}

using Readings = std::vector<std::string>;

} // namespace

TEST(SplitOverKana, OnlyTheOneSplitThatReadsTheOkuriganaAsWrittenIsTaken)
{
    EXPECT_EQ(split("閉じ籠め", "とじこめ"), (Readings{"と", "こ"}));
    EXPECT_EQ(split("顫え", "ふるえ"), (Readings{"ふる"}));
    EXPECT_EQ(split("お茶", "おちゃ"), (Readings{"ちゃ"}));
    EXPECT_EQ(split("東京", "とうきょう"), (Readings{"とうきょう"}));
    EXPECT_EQ(split("立つ", "たてる"), (Readings{"none"})) << "the okurigana are not in the reading";
    EXPECT_EQ(split("木の木", "きのきのき"), (Readings{"none"})) << "two splits";
    EXPECT_EQ(split("見る", "る"), (Readings{"none"})) << "the kanji would read nothing";
    EXPECT_EQ(split(std::string(100 * 3, 'a').replace(0, 3, "字"), "じ"), (Readings{"none"})) << "too long";
}

TEST(DistributeReadings, OkuriganaTheAnalysesCutDifferentlyAnchorTheSplit)
{
    EXPECT_EQ(distributed({{"顫", ""}, {"え", "え"}}, {{"顫え", "ふるえ"}}), (Readings{"ふる", ""}));
    EXPECT_EQ(distributed({{"長閑", "のどか"}, {"か", "か"}}, {{"長閑か", "のどか"}}), (Readings{"のど", ""}));
    EXPECT_EQ(distributed({{"閉じ", "とじ"}, {"籠", "かご"}, {"め", "め"}}, {{"閉じ籠め", "とじこめ"}}),
              (Readings{"とじ", "こ", ""}));
    EXPECT_EQ(distributed({{"這入ろ", "はいいろ"}, {"う", "う"}}, {{"這入ろう", "はいろう"}}), (Readings{"はいろ", ""}));
    EXPECT_EQ(distributed({{"何", "なに"}, {"に", "に"}}, {{"何", "なん"}, {"に", "に"}}), (Readings{"なん", ""}))
        << "words that line up";
}

TEST(DistributeReadings, AKanjiRunWordsShareIsSplitOnlyWhereTheirOwnReadingsAnchorIt)
{
    EXPECT_EQ(distributed({{"朝", "あさ"}, {"烏", "からす"}}, {{"朝烏", "あさがらす"}}), (Readings{"あさ", "がらす"}));
    EXPECT_EQ(distributed({{"日", "にち"}, {"清", "しん"}}, {{"日清", "にっしん"}}), (Readings{"にっ", "しん"}));
    EXPECT_EQ(distributed({{"手", "て"}, {"習", ""}}, {{"手習", "てならい"}}), (Readings{"て", "ならい"}))
        << "a word without a reading takes the rest";
    EXPECT_EQ(distributed({{"腐", "くさ"}, {"泥", "どろ"}}, {{"腐泥", "ふでい"}}), (Readings{"", ""}));
    EXPECT_EQ(distributed({{"今", "きょう"}, {"日", "ひ"}}, {{"今日", "きょう"}}), (Readings{"", ""}))
        << "an own reading that takes all of it leaves the other word nothing";
    EXPECT_EQ(distributed({{"大", "だい"}, {"千", "せん"}, {"世界", "せかい"}}, {{"大千世界", "だいせんせかい"}}),
              (Readings{"だい", "せん", "せかい"}));
}

TEST(DistributeReadings, WordsTheSecondAnalysisCannotReadKeepTheirOwn)
{
    // An unknown word, and a reading whose okurigana do not match.
    EXPECT_EQ(distributed({{"彁", "か"}, {"え", "え"}}, {{"彁え", ""}}), (Readings{"", ""}));
    EXPECT_EQ(distributed({{"立", "た"}, {"つ", "つ"}}, {{"立つ", "たてる"}}), (Readings{"", ""}));
    // Only the runs that read plainly count: the second word's own run is
    // given, the first's is not.
    EXPECT_EQ(distributed({{"腐", "くさ"}, {"泥炭", "でいたん"}}, {{"腐泥", "ふでい"}, {"炭", "たん"}}),
              (Readings{"", ""}));
}

TEST(DistributeReadings, AnUnsplitRunOfWholeWordsIsSharedForOneRuby)
{
    Wide text;
    Wide same;
    const std::vector<GroupWord> first = groupWords({{"腐", "くさ"}, {"泥", "どろ"}, {"を", "を"}}, text);
    const Distribution shared = distributeReadings(text, first, groupWords({{"腐泥", "ふでい"}, {"を", "を"}}, same));
    ASSERT_EQ(shared.shared.size(), 1u);
    EXPECT_EQ(shared.shared[0].first, 0u);
    EXPECT_EQ(shared.shared[0].last, 1u);
    EXPECT_EQ(narrow(shared.shared[0].reading), "ふでい");
    // A run split by the words' own readings, or one a word only partly
    // belongs to, is no shared one.
    EXPECT_TRUE(distributeReadings(text, first, groupWords({{"腐泥", "くさどろ"}, {"を", "を"}}, same)).shared.empty());
    const std::vector<GroupWord> across = groupWords({{"腐", "くさ"}, {"泥炭", "でいたん"}}, text);
    EXPECT_TRUE(distributeReadings(text, across, groupWords({{"腐泥", "ふでい"}, {"炭", "たん"}}, same)).shared.empty());
}
