#include "engine/WordDivision.h"

#include "NodeChain.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The marks that standardSeparator puts in front of each node of the chain,
// each node written as "|" plus its marks.
std::string marks(const NodeChain& chain, bool wakachi, bool jyoshi)
{
    EngineContext context;
    context.wakachi = wakachi;
    context.jyoshi_wakachi = jyoshi;
    std::string result;
    for (const MeCab::Node* node = chain.first(); node; node = node->next) {
        KILN::TString<char> output;
        standardSeparator(node, context, output);
        result += "|" + std::string(output.data(), output.length());
    }
    return result;
}

} // namespace

TEST(StandardRuleTest, MarksByPartOfSpeechAndFlags)
{
    // BOS 私 は 本 箱 を 読む 。 本 EOS
    const NodeChain chain{
        {"私", "名詞,代名詞,一般,*,*,*,私,ワタシ,ワタシ"},
        {"は", "助詞,係助詞,*,*,*,*,は,ハ,ワ"},
        {"本", "名詞,一般,*,*,*,*,本,ホン,ホン"},
        {"箱", "名詞,一般,*,*,*,*,箱,ハコ,ハコ"},
        {"を", "助詞,格助詞,一般,*,*,*,を,ヲ,ヲ"},
        {"読ん", "動詞,自立,*,*,五段・マ行,連用タ接続,読む,ヨン,ヨン"},
        {"だ", "助動詞,*,*,*,特殊・タ,基本形,だ,ダ,ダ"},
        {"。", "記号,句点,*,*,*,*,。,。,。"},
        {"本", "名詞,一般,*,*,*,*,本,ホン,ホン"},
    };
    // No mark before BOS, the first word, a noun after a noun, a symbol or
    // EOS; a noun after a symbol is divided from it.
    EXPECT_EQ(marks(chain, true, false), "||||_|||_|||_|");
    EXPECT_EQ(marks(chain, true, true), "|||~|_||~|_|~||_|");
    EXPECT_EQ(marks(chain, false, true), "|||~|||~||~|||");
    EXPECT_EQ(marks(chain, false, false), "|||||||||||");
}
