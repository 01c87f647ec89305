#include "engine/ReadingSource.h"

#include "engine/WordDivision.h"
#include "tests/support/Corpus.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using KILN::TString;

namespace {

// Debian's unidic-mecab, or the folder ZEF_READING_DIC names.
std::string unidicFolder()
{
    const char* named = std::getenv("ZEF_READING_DIC");
    return named && *named ? named : "/var/lib/mecab/dic/unidic";
}

bool hasUnidic()
{
    return std::filesystem::exists(unidicFolder() + "/sys.dic");
}

std::string refusal(const std::string& folder)
{
    try {
        ReadingSource::open(folder.c_str(), {"test"});
    } catch (const ReadingSource::Refused& refused) {
        return refused.what();
    }
    return "accepted";
}

class ReadingSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!hasUnidic())
            GTEST_SKIP() << "unidic-mecab is not installed";
        context.tagger.reset(zef::test::newPinnedTagger());
        ASSERT_TRUE(context.tagger) << MeCab::getLastError();
        context.readings = ReadingSource::open(unidicFolder().c_str(), {"test"});
        context.wakachi = false;
        context.kazenoha = false;
    }

    std::string divide(const std::string& text)
    {
        TString<char> output;
        divideText(context, TString<char>(text.data(), static_cast<uint32_t>(text.size())), output);
        return std::string(output.data(), output.length());
    }

    // A text, its expected notation, and why that is the notation.
    struct Division {
        const char* text;
        const char* expected;
        const char* why;
    };
    void expectDivided(const std::vector<Division>& cases)
    {
        for (const Division& c : cases)
            EXPECT_EQ(divide(c.text), c.expected) << c.why;
    }

    // The text divided with the same switches but the first analysis's
    // readings alone.
    std::string divideWithoutReadings(const std::string& text)
    {
        EngineContext plain;
        plain.tagger.reset(zef::test::newPinnedTagger());
        plain.wakachi = context.wakachi;
        plain.jyoshi_wakachi = context.jyoshi_wakachi;
        plain.kazenoha = context.kazenoha;
        TString<char> output;
        divideText(plain, TString<char>(text.data(), static_cast<uint32_t>(text.size())), output);
        return std::string(output.data(), output.length());
    }

    EngineContext context;
};

// The divided text without its rubies: the text and its marks. One ruby may
// span words that had one each.
std::string marksAndText(const std::string& divided)
{
    std::string kept;
    for (size_t i = 0; i < divided.size(); ++i) {
        if (divided.compare(i, 3, "《") == 0)
            i = divided.find("》", i) + 2;
        else if (divided.compare(i, 3, "｜") == 0)
            i += 2;
        else
            kept += divided[i];
    }
    return kept;
}

} // namespace

TEST_F(ReadingSourceTest, KnownCases)
{
    expectDivided({
        {"角が立つ", "｜角《かど》が｜立《た》つ", "IPADIC reads かく"},
        {"今日は", "｜今日《きょう》は", "the same reading"},
        {"東京へ", "｜東京《とうきょう》へ", "the pronunciation column would give とーきょー"},
        {"やはり向う三軒", "やはり｜向《むか》う｜三《さん》｜軒《けん》", "okurigana split off UniDic's reading"},
        {"食べ物", "｜食《た》べ｜物《もの》", "okurigana inside the word"},
        {"其処に", "｜其処《そこ》に", "unknown to IPADIC, known to UniDic"},
        {"彁が", "彁が", "unknown to both: no reading, so no ruby"},
        {"大学生", "｜大学生《だいがくせい》", "one IPADIC word over two UniDic words: readings joined"},
        {"所謂", "｜所謂《いわゆる》", "two IPADIC words inside one UniDic word: one ruby over both"},
    });
}

TEST_F(ReadingSourceTest, ReadingsOfWordsTheAnalysesCutDifferentlyAreSplitWhereThatIsPlain)
{
    expectDivided({
        {"ぶるぶる顫えて", "ぶるぶる｜顫《ふる》えて", "a word unknown to IPADIC, its okurigana a word of their own"},
        {"無尽蔵に長閑かと", "｜無尽蔵《むじんぞう》に｜長閑《のど》かと", "okurigana IPADIC takes for a particle"},
        {"閉じ籠められた", "｜閉《と》じ｜籠《こ》められた", "one UniDic word over three IPADIC words"},
        {"這入ろうとする", "｜這入《はい》ろうとする", "IPADIC's word ends inside UniDic's okurigana"},
        {"朝烏", "｜朝《あさ》｜烏《がらす》", "a kanji run split after the first word's own reading"},
        {"日清戦争", "｜日《にっ》｜清《しん》｜戦争《せんそう》", "split before the last word's own reading"},
        {"腐泥を", "｜腐泥《ふでい》を", "no reading of IPADIC's anchors the split: one ruby over both words"},
        {"腐泥を 病夫の", "｜腐泥《ふでい》を ｜病夫《びょうふ》の", "a run after white space"},
        {"婆娑と", "｜婆娑《ばさ》と", "one of the words unknown to IPADIC"},
        {"蒸羊羹", "蒸羊｜羹《あつもの》", "words that cut UniDic's runs (蒸 羊羹): IPADIC's readings stay"},
    });
}

TEST_F(ReadingSourceTest, AMarkBetweenWordsKeepsTheirRubiesApart)
{
    context.kazenoha = true;
    context.wakachi = true;
    EXPECT_EQ(divide("腐泥を"), "｜腐《くさ》_｜泥《どろ》を") << "IPADIC takes 腐 for a verb";
    EXPECT_EQ(divide("病夫のごとく"), "｜病夫《びょうふ》のごとく");
}

TEST_F(ReadingSourceTest, DivisionIsTheFirstAnalysis)
{
    // The phrase table's rubies set marks (その後に, 四分音符): UniDic reads
    // 後 あと and 分 ぷん, and would take them away.
    const std::string text = "智に働けば角が立つ。情に棹させば流される。意地を通せば窮屈だ。 所謂大学生の今日"
                             "、その後に四分音符一こ。閉じ籠められた長閑かな日清戦争、腐泥の病夫";
    context.kazenoha = true;
    context.wakachi = true;
    context.jyoshi_wakachi = true;
    const std::string withReadings = divide(text);
    const std::string withoutReadings = divideWithoutReadings(text);
    EXPECT_NE(withReadings, withoutReadings);
    EXPECT_EQ(marksAndText(withReadings), marksAndText(withoutReadings));
}

TEST_F(ReadingSourceTest, OnRealTextTheMarksAreThoseOfTheFirstAnalysis)
{
    const std::filesystem::path sample = zef::test::corpusBook("readings/aozora-sample.jsonl");
    if (sample.empty())
        GTEST_SKIP() << "the shared corpus is absent";
    // The sentences of the sample, a line each.
    std::ifstream in(sample);
    std::string text;
    const std::string key = "\"sentence\": \"";
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find(key);
        const size_t end = line.find("\", \"start\"", at);
        if (at != std::string::npos && end != std::string::npos)
            text += line.substr(at + key.size(), end - at - key.size()) + "\n";
    }
    ASSERT_GT(text.size(), 100000u);
    context.kazenoha = true;
    context.wakachi = true;
    context.jyoshi_wakachi = true;
    const std::string withReadings = divide(text);
    const std::string withoutReadings = divideWithoutReadings(text);
    EXPECT_NE(withReadings, withoutReadings);
    const std::string marked = marksAndText(withReadings);
    const std::string plain = marksAndText(withoutReadings);
    ASSERT_EQ(marked.size(), plain.size());
    const size_t differs = std::mismatch(marked.begin(), marked.end(), plain.begin()).first - marked.begin();
    EXPECT_EQ(differs, marked.size()) << plain.substr(differs < 60 ? 0 : differs - 60, 120);
}

TEST(ReadingSourceRefusal, FoldersThatAreNoUnidicAreRefusedByName)
{
    EXPECT_EQ(refusal("/nonexistent/unidic"), "The reading dictionary folder does not exist: /nonexistent/unidic");
    const std::string empty = testing::TempDir();
    EXPECT_EQ(refusal(empty).rfind("The reading dictionary folder holds no MeCab dictionary", 0), 0u)
        << refusal(empty);
    const std::string ipadic = "/var/lib/mecab/dic/ipadic-utf8";
    if (std::filesystem::exists(ipadic + "/sys.dic")) {
        EXPECT_EQ(refusal(ipadic),
                  "The reading dictionary is not a UniDic (no reading as written in feature column 20): " + ipadic);
    }
}
