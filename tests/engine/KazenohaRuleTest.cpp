#include "engine/KazenohaRule.h"

#include "NodeChain.h"

#include <gtest/gtest.h>

namespace {

// IPADIC-shaped features: part of speech, three sub-classes, conjugation type
// and form, base form, reading.
const char* const Noun = "名詞,一般,*,*,*,*,本,ホン,ホン";
const char* const Verb = "動詞,自立,*,*,五段・マ行,基本形,読む,ヨム,ヨム";
const char* const Particle = "助詞,格助詞,一般,*,*,*,を,ヲ,ヲ";

struct Case {
    const char* name;
    NodeChain::Word prev;
    NodeChain::Word cur;
    bool divides;
    bool functionWord;
};

// Decides for the second of two words, prev and cur.
void expectDecision(const Case& c)
{
    const NodeChain chain{c.prev, c.cur};
    bool functionWord = !c.functionWord;
    EXPECT_EQ(kazenohaBreak(chain.word(1), functionWord), c.divides) << c.name;
    EXPECT_EQ(functionWord, c.functionWord) << c.name;
}

} // namespace

TEST(KazenohaRuleTest, NeverDividesAtBoundariesSymbolsAndAfterPunctuation)
{
    const NodeChain chain{{"本", Noun}, {"。", "記号,句点,*,*,*,*,。,。,。"}};
    bool functionWord = true;
    EXPECT_FALSE(kazenohaBreak(chain.first(), functionWord)) << "BOS";
    EXPECT_FALSE(functionWord);
    EXPECT_FALSE(kazenohaBreak(chain.word(0), functionWord)) << "first word";
    EXPECT_FALSE(kazenohaBreak(chain.word(1), functionWord)) << "symbol";
    EXPECT_FALSE(kazenohaBreak(chain.word(2), functionWord)) << "EOS";

    const Case cases[] = {
        {"character type 0", {"本", Noun}, {"読む", Verb, 0}, false, false},
        {"after 、", {"、", "記号,読点,*,*,*,*,、,、,、"}, {"読む", Verb}, false, false},
        {"after 。", {"。", "記号,句点,*,*,*,*,。,。,。"}, {"読む", Verb}, false, false},
        {"after 「", {"「", "記号,括弧開,*,*,*,*,「,「,「"}, {"本", Noun}, false, false},
        {"after 『", {"『", "記号,括弧開,*,*,*,*,『,『,『"}, {"本", Noun}, false, false},
        {"after 」 divides", {"」", "記号,括弧閉,*,*,*,*,」,」,」"}, {"本", Noun}, true, false},
        {"particle after punctuation", {"、", "記号,読点,*,*,*,*,、,、,、"}, {"を", Particle}, false, true},
    };
    for (const Case& c : cases)
        expectDecision(c);
}

TEST(KazenohaRuleTest, FunctionWordsAndSimpleClasses)
{
    const char* const nai = "助動詞,*,*,*,特殊・ナイ,基本形,ない,ナイ,ナイ";
    const Case cases[] = {
        {"particle", {"本", Noun}, {"を", Particle}, false, true},
        {"auxiliary other than nai", {"読み", Verb}, {"ます", "助動詞,*,*,*,特殊・マス,基本形,ます,マス,マス"}, false, true},
        {"nai after し", {"し", "動詞,自立,*,*,サ変・スル,未然形,する,シ,シ"}, {"ない", nai}, false, true},
        {"nai after a verb", {"読ま", Verb}, {"ない", nai}, false, true},
        {"nai after a noun", {"本", Noun}, {"ない", nai}, true, true},
        {"adverb", {"本", Noun}, {"とても", "副詞,一般,*,*,*,*,とても,トテモ,トテモ"}, true, false},
        {"adnominal", {"本", Noun}, {"この", "連体詞,*,*,*,*,*,この,コノ,コノ"}, true, false},
        {"prefix", {"本", Noun}, {"お", "接頭詞,名詞接続,*,*,*,*,お,オ,オ"}, true, false},
        {"conjunction", {"本", Noun}, {"しかし", "接続詞,*,*,*,*,*,しかし,シカシ,シカシ"}, true, false},
        {"interjection after a noun", {"本", Noun}, {"ああ", "感動詞,*,*,*,*,*,ああ,アア,アー"}, true, false},
        {"interjection after an interjection", {"ああ", "感動詞,*,*,*,*,*,ああ,アア,アー"},
         {"おお", "感動詞,*,*,*,*,*,おお,オオ,オー"}, false, false},
        {"filler", {"本", Noun}, {"あの", "フィラー,*,*,*,*,*,あの,アノ,アノ"}, false, false},
        {"adjective", {"本", Noun}, {"赤い", "形容詞,自立,*,*,形容詞・アウオ段,基本形,赤い,アカイ,アカイ"}, true, false},
        {"adjective, non-independent", {"読み", Verb}, {"にくい", "形容詞,非自立,*,*,形容詞・アウオ段,基本形,にくい,ニクイ,ニクイ"}, false, false},
        {"いい after a noun", {"本", Noun}, {"いい", "形容詞,自立,*,*,形容詞・イイ,基本形,いい,イイ,イイ"}, false, false},
        {"いい after a particle", {"が", Particle}, {"いい", "形容詞,自立,*,*,形容詞・イイ,基本形,いい,イイ,イイ"}, true, false},
    };
    for (const Case& c : cases)
        expectDecision(c);
}

TEST(KazenohaRuleTest, NounRule)
{
    const char* const dependent = "名詞,非自立,一般,*,*,*,こと,コト,コト";
    const Case cases[] = {
        {"suffix", {"本", Noun}, {"さん", "名詞,接尾,人名,*,*,*,さん,サン,サン"}, false, false},
        {"dependent の", {"読む", Verb}, {"の", "名詞,非自立,一般,*,*,*,の,ノ,ノ"}, false, false},
        {"dependent ん", {"読む", Verb}, {"ん", "名詞,非自立,一般,*,*,*,ん,ン,ン"}, false, false},
        {"auxiliary stem", {"読む", Verb}, {"よう", "名詞,非自立,助動詞語幹,*,*,*,よう,ヨウ,ヨー"}, false, false},
        {"adjectival stem", {"読む", Verb}, {"みたい", "名詞,非自立,形容動詞語幹,*,*,*,みたい,ミタイ,ミタイ"}, false, false},
        {"dependent noun after a verb", {"読む", Verb}, {"こと", dependent}, true, false},
        {"noun after noun", {"本", Noun}, {"箱", Noun}, false, false},
        {"noun after じゅう", {"じゅう", "名詞,一般,*,*,*,*,じゅう,ジュウ,ジュー"}, {"本", Noun}, true, false},
        {"ぺたんと after a noun", {"本", Noun}, {"ぺたんと", "名詞,一般,*,*,*,*,ぺたんと,ペタント,ペタント"}, true, false},
        {"noun after a counter", {"本", "名詞,接尾,助数詞,*,*,*,本,ホン,ホン"}, {"箱", Noun}, true, false},
        {"noun after a plain suffix", {"さん", "名詞,接尾,人名,*,*,*,さん,サン,サン"}, {"箱", Noun}, false, false},
        {"noun after a prefix", {"お", "接頭詞,名詞接続,*,*,*,*,お,オ,オ"}, {"茶", Noun}, false, false},
        {"noun after とくべつ", {"とくべつ", "副詞,一般,*,*,*,*,とくべつ,トクベツ,トクベツ"}, {"本", Noun}, false, false},
        {"noun after another adverb", {"もっと", "副詞,一般,*,*,*,*,もっと,モット,モット"}, {"本", Noun}, true, false},
        {"noun after うち", {"うち", "連体詞,*,*,*,*,*,うち,ウチ,ウチ"}, {"本", Noun}, false, false},
        {"noun after another adnominal", {"この", "連体詞,*,*,*,*,*,この,コノ,コノ"}, {"本", Noun}, true, false},
        {"noun after a particle", {"を", Particle}, {"本", Noun}, true, false},
        {"a sub-class in column 6 does not count", {"読む", Verb}, {"本", "名詞,一般,*,*,*,*,接尾,ホン,ホン"}, true, false},
    };
    for (const Case& c : cases)
        expectDecision(c);
}

TEST(KazenohaRuleTest, VerbRule)
{
    const char* const suru = "動詞,自立,*,*,サ変・スル,基本形,する,スル,スル";
    const Case cases[] = {
        {"verb after いつ", {"いつ", "名詞,代名詞,一般,*,*,*,いつ,イツ,イツ"}, {"読む", Verb}, false, false},
        {"verb after じゅう", {"じゅう", "名詞,一般,*,*,*,*,じゅう,ジュウ,ジュー"}, {"読む", Verb}, true, false},
        {"suffix verb", {"子供", Noun}, {"がる", "動詞,接尾,*,*,五段・ラ行,基本形,がる,ガル,ガル"}, false, false},
        {"なる after ば", {"ば", "助詞,接続助詞,*,*,*,*,ば,バ,バ"}, {"なる", "動詞,非自立,*,*,五段・ラ行,基本形,なる,ナル,ナル"}, true, false},
        {"なる after て", {"て", "助詞,接続助詞,*,*,*,*,て,テ,テ"}, {"なる", "動詞,非自立,*,*,五段・ラ行,基本形,なる,ナル,ナル"}, false, false},
        {"other dependent verb", {"て", "助詞,接続助詞,*,*,*,*,て,テ,テ"}, {"おく", "動詞,非自立,*,*,五段・カ行イ音便,基本形,おく,オク,オク"}, false, false},
        {"passive stem form", {"本", Noun}, {"読ま", "動詞,自立,*,*,五段・マ行,未然レル接続,読む,ヨマ,ヨマ"}, false, false},
        {"する after 何", {"何", "名詞,代名詞,一般,*,*,*,何,ナニ,ナニ"}, {"する", suru}, true, false},
        {"する after another noun", {"勉強", "名詞,サ変接続,*,*,*,*,勉強,ベンキョウ,ベンキョー"}, {"する", suru}, false, false},
        {"する after an adverb", {"ゆっくり", "副詞,一般,*,*,*,*,ゆっくり,ユックリ,ユックリ"}, {"する", suru}, true, false},
        {"する after a particle", {"を", Particle}, {"する", suru}, true, false},
        {"verb after a verb", {"読み", Verb}, {"始める", "動詞,自立,*,*,一段,基本形,始める,ハジメル,ハジメル"}, false, false},
        {"verb after a prefix", {"お", "接頭詞,名詞接続,*,*,*,*,お,オ,オ"}, {"読む", Verb}, false, false},
        {"verb after a noun", {"本", Noun}, {"読む", Verb}, true, false},
        {"verb after a particle", {"を", Particle}, {"読む", Verb}, true, false},
    };
    for (const Case& c : cases)
        expectDecision(c);

    // Every non-independent verb of the dividing list, after the particle て.
    for (const char* base : {"くれる", "いる", "いく", "しまう", "くる", "やる", "みる", "もらえる", "ゆく", "くださる"}) {
        const std::string feature = std::string("動詞,非自立,*,*,*,基本形,") + base + ",*,*";
        const NodeChain chain{{"て", "助詞,接続助詞,*,*,*,*,て,テ,テ"}, {base, feature}};
        bool functionWord = true;
        EXPECT_TRUE(kazenohaBreak(chain.word(1), functionWord)) << base;
        EXPECT_FALSE(functionWord);
    }
}

TEST(KazenohaRuleTest, ShortFeaturesOfUnknownWordsAreSafe)
{
    // A word the dictionary lacks has seven columns; a malformed one fewer.
    const NodeChain chain{{"本", Noun}, {"彁", "名詞,固有名詞,組織,*,*,*,*"}, {"x", "名詞"}};
    bool functionWord = true;
    EXPECT_FALSE(kazenohaBreak(chain.word(1), functionWord));
    EXPECT_FALSE(kazenohaBreak(chain.word(2), functionWord));
    EXPECT_FALSE(functionWord);
}
