#include "engine/DictionaryCheck.h"

#include "NodeChain.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

std::string layoutOf(std::initializer_list<NodeChain::Word> words)
{
    const NodeChain chain(words);
    return layoutProblem(chain.first());
}

} // namespace

TEST(DictionaryCheckTest, CharsetMustBeUtf8)
{
    for (const char* utf8 : {"UTF-8", "utf-8", "utf8", "Utf8"})
        EXPECT_EQ(charsetProblem(utf8), "") << utf8;
    EXPECT_EQ(charsetProblem("EUC-JP"), "its charset is EUC-JP, not UTF-8");
    EXPECT_NE(charsetProblem("SHIFT-JIS"), "");
    EXPECT_NE(charsetProblem("utf-16"), "");
    EXPECT_NE(charsetProblem(""), "");
    EXPECT_NE(charsetProblem(nullptr), "");
}

TEST(DictionaryCheckTest, ProbeWordMustHaveTheIpadicLayout)
{
    EXPECT_EQ(layoutOf({{"食べる", "動詞,自立,*,*,一段,基本形,食べる,タベル,タベル"}}), "");
    // Another dictionary that MeCab may take by default: the column the
    // engine reads as the reading holds the base form or nothing.
    const std::string unidic = layoutOf(
        {{"食べる", "動詞,一般,*,*,下一段-バ行,終止形-一般,タベル,食べる,食べる,タベル,食べる,タベル,和,*,*,*,*"}});
    EXPECT_NE(unidic.find("not in the IPADIC layout"), std::string::npos) << unidic;
    EXPECT_EQ(unidic.find("和"), std::string::npos) << "only the columns the engine reads are quoted";
    EXPECT_NE(layoutOf({{"食べる", "動詞,*,母音動詞,基本形,食べる,たべる,代表表記:食べる/たべる"}}), "");
    EXPECT_NE(layoutOf({{"食べる", "動詞,自立,*,*,一段,基本形,食べる"}}), "") << "no reading";
    EXPECT_NE(layoutOf({{"食べ", "動詞,自立,*,*,一段,連用形,食べる,タベ,タベ"}, {"る", "助動詞,*,*,*,*,*,る,ル,ル"}}), "")
        << "the word split";
    EXPECT_NE(layoutOf({}), "");
    EXPECT_NE(layoutProblem(nullptr), "");
}

TEST(DictionaryCheckTest, PinnedDictionaryPasses)
{
    const std::unique_ptr<MeCab::Tagger> tagger(zef::test::newPinnedTagger());
    ASSERT_TRUE(tagger) << MeCab::getLastError();
    EXPECT_EQ(dictionaryProblem(*tagger), "");
}

TEST(DictionaryCheckTest, OtherInstalledDictionariesAreRefused)
{
    // Needs none of them; checks those the machine happens to have.
    int checked = 0;
    for (const char* name : {"unidic", "juman-utf8", "ipadic"}) {
        const std::string folder = std::string("/var/lib/mecab/dic/") + name;
        if (!std::filesystem::exists(folder + "/sys.dic"))
            continue;
        const std::unique_ptr<MeCab::Tagger> tagger(MeCab::createTagger(("-d " + folder).c_str()));
        if (!tagger)
            continue;
        const std::string problem = dictionaryProblem(*tagger);
        EXPECT_NE(problem.find("is not the UTF-8 IPADIC"), std::string::npos) << name << ": " << problem;
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "no other MeCab dictionary installed";
}
