#include "engine/RubyReading.h"

#include "NodeChain.h"

#include <gtest/gtest.h>

#include <string>

using KILN::TString;

namespace {

std::string word(bool ruby, const std::string& surface, const std::string& feature)
{
    EngineContext context;
    context.ruby = ruby;
    const NodeChain chain{{surface, feature}};
    TString<char> output;
    appendWord(context, chain.word(0), output);
    return std::string(output.data(), output.length());
}

std::string ruby(const std::string& surface, const std::string& reading)
{
    return word(true, surface, "名詞,一般,*,*,*,*," + surface + "," + reading + "," + reading);
}

TString<unsigned int> wide(const char* utf8)
{
    return TString<unsigned int>(TString<char>(utf8));
}

TString<unsigned int> characters(std::initializer_list<unsigned int> codes)
{
    TString<unsigned int> text;
    for (unsigned int c : codes)
        text.append(c);
    return text;
}

} // namespace

TEST(RubyReadingTest, ReadingsAreSplitOverTheKanjiRuns)
{
    EXPECT_EQ(ruby("食べる", "タベル"), "｜食《た》べる");
    EXPECT_EQ(ruby("引き出す", "ヒキダス"), "｜引《ひ》き｜出《だ》す");
    EXPECT_EQ(ruby("お茶", "オチャ"), "お｜茶《ちゃ》");
    EXPECT_EQ(ruby("学校", "ガッコウ"), "｜学校《がっこう》");
    EXPECT_EQ(ruby("ト書き", "トガキ"), "｜ト書《とが》き") << "katakana joins the kanji run";
    EXPECT_EQ(ruby("ヴ音", "ヴオン"), "｜ヴ音《ゔおん》");
    EXPECT_EQ(ruby("お見舞い", "オミマイ"), "お｜見舞《みま》い");
}

TEST(RubyReadingTest, ReadingsThatDoNotFit)
{
    // Okurigana missing from the reading: the run keeps what is left.
    EXPECT_EQ(ruby("食べる", "ショク"), "｜食《しょく》べる");
    // No place for the okurigana: the first run gets nothing and stays bare,
    // the last takes the rest.
    EXPECT_EQ(ruby("引き出す", "イン"), "引き｜出《ん》す");
}

TEST(RubyReadingTest, WordWithoutReadingGetsNoEmptyRuby)
{
    // Regression: a word the dictionary lacks came out as ｜彁《》, which
    // the post-process made an empty ruby text.
    EXPECT_EQ(word(true, "彁", "名詞,固有名詞,組織,*,*,*,*"), "彁") << "no reading column";
    EXPECT_EQ(word(true, "髙﨑", "名詞,一般,*,*,*,*,*,*,*"), "髙﨑") << "a reading of *";
    EXPECT_EQ(word(true, "引き出す", "動詞,自立,*,*,*,*,引き出す,,"), "引き出す") << "an empty reading";
}

TEST(RubyReadingTest, OnlyWordsWithKanjiGetRuby)
{
    EXPECT_EQ(ruby("テレビ", "テレビ"), "テレビ");
    EXPECT_EQ(ruby("ひらがな", "ヒラガナ"), "ひらがな");
    EXPECT_EQ(ruby("々", "ノマ"), "々") << "iteration mark alone is kana text";
    EXPECT_EQ(ruby("〇〇", "マルマル"), "〇〇");
    EXPECT_EQ(ruby("〻", "ノマ"), "｜〻《のま》") << "an ideograph among the punctuation";
    EXPECT_EQ(ruby("「、」", "キゴウ"), "「、」");
    EXPECT_EQ(ruby("ABC", "エービーシー"), "ABC") << "no ideograph at all";
    EXPECT_EQ(ruby("Ａ級", "エーキュウ"), "｜Ａ級《えーきゅう》");
    EXPECT_EQ(ruby("𠀋", "ジョウ"), "｜𠀋《じょう》") << "outside the basic plane";
}

TEST(RubyReadingTest, MalformedTextIsCopiedUnchanged)
{
    // A notation would decode and re-encode the bytes, changing the text.
    EXPECT_EQ(ruby("漢\x80字", "カンジ"), "漢\x80字");
    EXPECT_EQ(word(true, "漢字", "名詞,一般,*,*,*,*,漢字,カン\xE3\x82,カンジ"), "漢字") << "malformed reading";
    EXPECT_EQ(ruby("漢字", "カンジ"), "｜漢字《かんじ》");
}

TEST(RubyReadingTest, WithoutRubyTheSurfaceIsCopied)
{
    for (const char* surface : {"食べる", "引き出す", "彁", "テレビ"})
        EXPECT_EQ(word(false, surface, "名詞,一般,*,*,*,*,x,ヨミ,ヨミ"), surface);
}

TEST(RubyReadingTest, CharacterClasses)
{
    EXPECT_TRUE(isKanaText(characters({})));
    EXPECT_TRUE(isKanaText(characters({0x3001, 0x301F, 0x3041, 0x3096, 0x30A1, 0x30FF, 0xFF00, 0xFF8F})));
    for (unsigned int c : {0x3000u, 0x3020u, 0x3040u, 0x3097u, 0x30A0u, 0xFF90u, 0x41u, 0x4E00u})
        EXPECT_FALSE(isKanaText(characters({0x3042, c}))) << std::hex << c;

    EXPECT_TRUE(containsKanji(wide("漢")));
    EXPECT_TRUE(containsKanji(wide("⺀"))) << "U+2E80, radicals";
    EXPECT_TRUE(containsKanji(wide("㐀"))) << "U+3400, extension A";
    EXPECT_TRUE(containsKanji(wide("豈"))) << "U+F900, compatibility";
    EXPECT_TRUE(containsKanji(wide("a々"))) << "々 counts outside kana text";
    EXPECT_FALSE(containsKanji(wide("")));
    EXPECT_TRUE(containsKanji(wide("〻"))) << "U+303B is no kana";

    TString<unsigned int> reading = wide("ァアヴヵヶヷーヽ・カナabc");
    toHiragana(reading);
    const TString<char> hiragana(reading);
    EXPECT_EQ(std::string(hiragana.data(), hiragana.length()), "ぁあゔゕゖヷーヽ・かなabc");
}

TEST(RubyReadingTest, SegmentsAlternate)
{
    KILN::ArrayList<TextSegment> segments;
    segmentWord(wide("お見舞いト書き"), segments);
    ASSERT_EQ(segments.count(), 5u);
    const bool hiragana[] = {true, false, true, false, true};
    const uint32_t lengths[] = {1, 2, 1, 2, 1};
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(segments.atIndex(i)->hiragana, hiragana[i]) << i;
        EXPECT_EQ(segments.atIndex(i)->text.length(), lengths[i]) << i;
    }
    for (uint32_t i = 0; i < segments.count(); ++i)
        delete segments.atIndex(i);
}

TEST(RubyReadingTest, WordsHoldingNotationCharactersAreWrittenWithoutRuby)
{
    // A ｜ or bracket in the base or the reading would end it early.
    EXPECT_EQ(ruby("《本", "ホン"), "《本");
    EXPECT_EQ(ruby("本〉", "ホン"), "本〉");
    EXPECT_EQ(ruby("本", "ホ》ン"), "本");
    EXPECT_EQ(ruby("本", "ホ｜ン"), "本");
    EXPECT_EQ(ruby("本", "ホ＼ン"), "本");
}
