#include "engine/ReadingSource.h"

#include "engine/WordDivision.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
        context.tagger.reset(MeCab::createTagger(""));
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

    EngineContext context;
};

} // namespace

TEST_F(ReadingSourceTest, KnownCases)
{
    const struct {
        const char* text;
        const char* expected;
        const char* why;
    } cases[] = {
        {"角が立つ", "｜角《かど》が｜立《た》つ", "IPADIC reads かく"},
        {"今日は", "｜今日《きょう》は", "the same reading"},
        {"東京へ", "｜東京《とうきょう》へ", "the pronunciation column would give とーきょー"},
        {"やはり向う三軒", "やはり｜向《むか》う｜三《さん》｜軒《けん》", "okurigana split off UniDic's reading"},
        {"食べ物", "｜食《た》べ｜物《もの》", "okurigana inside the word"},
        {"其処に", "｜其処《そこ》に", "unknown to IPADIC, known to UniDic"},
        {"彁が", "彁が", "unknown to both: no reading, so no ruby"},
        {"大学生", "｜大学生《だいがくせい》", "one IPADIC word over two UniDic words: readings joined"},
        {"所謂", "｜所《ところ》｜謂《いい》", "two IPADIC words inside one UniDic word: IPADIC's readings stay"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(divide(c.text), c.expected) << c.why;
}

TEST_F(ReadingSourceTest, DivisionIsTheFirstAnalysis)
{
    const std::string text = "智に働けば角が立つ。情に棹させば流される。意地を通せば窮屈だ。 所謂大学生の今日";
    context.kazenoha = true;
    context.wakachi = true;
    context.jyoshi_wakachi = true;
    const std::string withReadings = divide(text);
    EngineContext plain;
    plain.tagger.reset(MeCab::createTagger(""));
    plain.jyoshi_wakachi = true;
    TString<char> output;
    divideText(plain, TString<char>(text.data(), static_cast<uint32_t>(text.size())), output);
    const std::string withoutReadings(output.data(), output.length());
    const auto marksAndText = [](const std::string& divided) {
        std::string kept;
        for (size_t i = 0; i < divided.size(); ++i) {
            if (divided.compare(i, 3, "《") == 0)
                i = divided.find("》", i) + 2;
            else
                kept += divided[i];
        }
        return kept;
    };
    EXPECT_NE(withReadings, withoutReadings);
    EXPECT_EQ(marksAndText(withReadings), marksAndText(withoutReadings));
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
