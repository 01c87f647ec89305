// The author's text survives a pre-process and a post-process without edits:
// random texts of kana, kanji, ASCII, the notation characters and the marks
// come back character for character under every set of division options.

#include "model/PostProcess.h"
#include "model/PreProcess.h"

#include "XhtmlRewriting.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace XhtmlRewriting;

namespace {

// The text of every text node below node, without ruby readings (rt, rp).
void readerText(const KILN::Node& node, std::string& text)
{
    for (const KILN::Node* child = node.getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() == KILN::Node::TEXT_NODE) {
            text += S(*child->getNodeValue());
        } else if (child->getNodeType() == KILN::Node::ELEMENT_NODE) {
            const std::string name = S(*child->getNodeName());
            if (name != "rt" && name != "rp")
                readerText(*child, text);
        }
    }
}

std::string randomText(std::mt19937& random)
{
    // Words and phrases the rules and phrase tables act on, among single characters.
    static const char* const pieces[] = {
        "｜", "《", "》", "〈", "〉", "＼", "_", "~", "a", "Z", "7", " ", "&", "<", "\"",
        "か", "な", "ア", "ー", "、", "。", "「", "（", "学校", "本", "読む", "食べる", "一", "章",
        "という", "ずうっと", "に対して", "その後に", "私は", "です",
    };
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> size(0, 16);
    std::string text;
    for (int n = size(random); n > 0; --n)
        text += pieces[pick(random)];
    return text;
}

struct Options {
    const char* name;
    bool wakachi;
    bool jyoshi;
    bool kazenoha;
};

} // namespace

TEST(RoundTripTest, RandomTextsComeBackUnchangedUnderEveryOptionSet)
{
    EngineContext context;
    context.tagger.reset(zef::test::newPinnedTagger());
    if (!context.tagger)
        GTEST_SKIP() << "MeCab has no default configuration: " << MeCab::getLastError();
    const Options sets[] = {
        {"default", true, false, true},
        {"-w-", false, false, true},
        {"-j", true, true, true},
        {"-m-", true, false, false},
        {"-w- -j -m-", false, true, false},
    };
    std::mt19937 random(18);
    for (const Options& options : sets) {
        context.wakachi = options.wakachi;
        context.jyoshi_wakachi = options.jyoshi;
        context.kazenoha = options.kazenoha;
        for (int round = 0; round < 150; ++round) {
            // Running text, a page label and the base of a ruby the book had.
            std::unique_ptr<KILN::Document> document =
                parse(page("<p>x<span class=\"page-normal\" id=\"p\">x</span><ruby>x<rt>r</rt></ruby></p>"));
            KILN::Element& element = body(*document);
            KILN::Node* p = element.getFirstChild();
            KILN::Node* texts[] = {p->getFirstChild(), p->getFirstChild()->getNextSibling()->getFirstChild(),
                                   p->getLastChild()->getFirstChild()};
            std::string original;
            for (KILN::Node* text : texts) {
                const std::string value = randomText(random);
                text->setNodeValue(U(value));
                original += value;
            }
            preProcessBody(element, context);
            convertRuby(element, *document, "label", true);
            convertWordBreaks(element, *document);
            std::string after;
            readerText(element, after);
            ASSERT_EQ(after, original) << options.name << "\n" << serialize(element);
        }
    }
}
