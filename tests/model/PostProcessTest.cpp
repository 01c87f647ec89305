#include "model/PostProcess.h"

#include "model/ZephraModelError.h"

#include "XhtmlRewriting.h"

#include <gtest/gtest.h>

#include <string>

using namespace XhtmlRewriting;

namespace {

struct Case {
    const char* body;
    const char* expected;
};

std::string withRuby(const std::string& content, bool rpOutput)
{
    return rewriteBody(content, [&](KILN::Element& body, KILN::Document& document) {
        convertRuby(body, document, "label", rpOutput);
    });
}

std::string withWordBreaks(const std::string& content)
{
    return rewriteBody(content, [](KILN::Element& body, KILN::Document& document) { convertWordBreaks(body, document); });
}

} // namespace

TEST(PostProcessTest, RubyNotationBecomesRubyElements)
{
    const Case cases[] = {
        {"<p>前｜漢字《かんじ》後</p>", "<p>前<ruby><rb>漢字</rb><rp>（</rp><rt>かんじ</rt><rp>）</rp></ruby>後</p>"},
        {"<p>｜B1《R1｜B2《R2》</p>",
         "<p><ruby><rb>B1</rb><rp>（</rp><rt>R1</rt><rp>）</rp><rb>B2</rb><rp>（</rp><rt>R2</rt><rp>）</rp></ruby></p>"},
        // An angle reading is the book's own: class "original", and a new
        // ruby element where the bracket style changes.
        {"<p>｜本〈ほん〉と｜紙《かみ》</p>",
         "<p><ruby class=\"original\"><rb>本</rb><rp>（</rp><rt>ほん</rt><rp>）</rp></ruby>と"
         "<ruby><rb>紙</rb><rp>（</rp><rt>かみ</rt><rp>）</rp></ruby></p>"},
        // Nested inline elements and existing ruby elements are looked into.
        {"<p><b><i>｜a《b》</i></b><ruby>｜c《d》<rt>e</rt></ruby></p>",
         "<p><b><i><ruby><rb>a</rb><rp>（</rp><rt>b</rt><rp>）</rp></ruby></i></b>"
         "<ruby><ruby><rb>c</rb><rp>（</rp><rt>d</rt><rp>）</rp></ruby><rt>e</rt></ruby></p>"},
        // Brackets without a base and doubled bars are text.
        {"<p>B《R》 a｜｜b</p>", "<p>B《R》 a｜｜b</p>"},
        // Escaped notation characters are text, also in plain text alone.
        {"<p>＼｜ABC《DEF》</p><p>＼＼</p><p>＼a</p>", "<p>｜ABC《DEF》</p><p>＼</p><p>＼a</p>"},
        {"<p>＼｜｜始《はじ》まり</p>", "<p>｜<ruby><rb>始</rb><rp>（</rp><rt>はじ</rt><rp>）</rp></ruby>まり</p>"},
        // Script and style hold code, not text.
        {"<script>a=\"｜b《c》\"</script><style>p{}/*｜b《c》*/</style>",
         "<script>a=&quot;｜b《c》&quot;</script><style>p{}/*｜b《c》*/</style>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withRuby(c.body, true), c.expected) << c.body;
    EXPECT_EQ(withRuby("<p>｜本〈ほん〉と｜紙《かみ》</p>", false),
              "<p><ruby class=\"original\"><rb>本</rb><rt>ほん</rt></ruby>と<ruby><rb>紙</rb><rt>かみ</rt></ruby></p>");
}

TEST(PostProcessTest, SvgAndMathmlGetNoXhtmlMarkupButXhtmlInsideDoes)
{
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\"><title>｜a《b》</title>"
                            "<text>x_y<tspan>｜c《d》~e</tspan></text></svg>";
    const std::string math = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x_y</mi><mtext>｜《</mtext></math>";
    // Notation that is malformed where it is left alone raises nothing.
    for (const std::string& content : {svg, math}) {
        EXPECT_EQ(withRuby(content, false), content);
        EXPECT_EQ(withWordBreaks(content), content);
    }
    // Going in and out of XHTML twice, and back to the page's own XHTML.
    const std::string foreign = "<svg xmlns=\"http://www.w3.org/2000/svg\"><text>a_b</text><foreignObject>"
                                "<div xmlns=\"http://www.w3.org/1999/xhtml\">｜c《d》_e</div></foreignObject></svg>";
    const std::string converted =
        "<svg xmlns=\"http://www.w3.org/2000/svg\"><text>a_b</text><foreignObject>"
        "<div xmlns=\"http://www.w3.org/1999/xhtml\"><ruby><rb>c</rb><rt>d</rt></ruby><wbr/>e</div></foreignObject></svg>";
    EXPECT_EQ(withWordBreaks(withRuby(foreign + "<p>f_g</p>" + foreign + svg, false)),
              converted + "<p>f<wbr/>g</p>" + converted + svg);
}

TEST(PostProcessTest, MalformedRubyRaises23WithLabelAndText)
{
    std::unique_ptr<KILN::Document> document = parse(page("<p>ok ｜a《b》</p><p>x ｜B《&#x41;R</p>"));
    try {
        convertRuby(body(*document), *document, "item/xhtml/p-003.xhtml", true);
        FAIL() << "no error";
    } catch (const ZephraModelError& error) {
        EXPECT_EQ(error.number(), 23);
        EXPECT_STREQ(error.text(), "Ruby parser syntax error. item/xhtml/p-003.xhtml:x ｜B《&#x41;R");
    }
}

TEST(PostProcessTest, DivisionMarksBecomeWordBreaks)
{
    const Case cases[] = {
        {"<p>今日_は~晴れ</p>", "<p>今日<wbr/>は<wbr class=\"sub\"/>晴れ</p>"},
        {"<p>a__b~~c</p>", "<p>a_b~c</p>"},
        {"<p>a___b</p>", "<p>a_<wbr/>b</p>"},
        {"<p>_x</p>", "<p><wbr/>x</p>"},
        {"<p>x_</p>", "<p>x<wbr/></p>"},
        {"<p>_~</p>", "<p><wbr/><wbr class=\"sub\"/></p>"},
        {"<p title=\"a_b\">a<b>c_d</b>e</p>", "<p title=\"a_b\">a<b>c<wbr/>d</b>e</p>"},
        {"<script>a_b</script><style>p~q{}</style>", "<script>a_b</script><style>p~q{}</style>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withWordBreaks(c.body), c.expected) << c.body;
}

TEST(PostProcessTest, WordBreaksKeepTheTextNodesAround)
{
    // The node keeps the text before the first mark; pieces between marks
    // are nodes of their own, empty ones included.
    std::unique_ptr<KILN::Document> document = parse(page("<p>_~a</p><p>a__b</p>"));
    KILN::Element& element = body(*document);
    KILN::Node* first = element.getFirstChild()->getFirstChild();
    convertWordBreaks(element, *document);
    KILN::Node* p = element.getFirstChild();
    ASSERT_EQ(p->getFirstChild(), first);
    std::string shape;
    for (KILN::Node* child = p->getFirstChild(); child; child = child->getNextSibling())
        shape += child->getNodeType() == KILN::Node::TEXT_NODE ? "[" + S(*child->getNodeValue()) + "]" : "<>";
    EXPECT_EQ(shape, "[]<>[]<>[a]");
    KILN::Node* second = p->getNextSibling();
    ASSERT_NE(second->getFirstChild(), nullptr);
    EXPECT_EQ(second->getFirstChild()->getNextSibling(), nullptr);
}

TEST(PostProcessTest, ReferencesPassBothConversionsAsRead)
{
    const std::string head = "<!DOCTYPE html [<!ENTITY my_ent \"E\"><!ENTITY my_name \"N\">]>\n";
    const std::string source = head + page("<p>a&amp;b&lt;c&#x6F22;&my_ent;~~&my_name;</p>"
                                           "<p>｜&#x6F22;《かん》&my_name;_x&amp;</p>");
    std::unique_ptr<KILN::Document> document = parse(source);
    ASSERT_NE(document, nullptr);
    convertRuby(body(*document), *document, "label", false);
    convertWordBreaks(body(*document), *document);
    const std::string written = serialize(*document);
    EXPECT_NE(written.find("<p>a&amp;b&lt;c&#x6F22;&my_ent;~&my_name;</p>"), std::string::npos) << written;
    EXPECT_NE(written.find("<p><ruby><rb>&#x6F22;</rb><rt>かん</rt></ruby>&my_name;<wbr/>x&amp;</p>"), std::string::npos)
        << written;
}

TEST(PostProcessTest, HeadCleaningRemovesOnlyEmptyMeta)
{
    std::unique_ptr<KILN::Document> document = parse(
        "<html><head><meta charset=\"utf-8\"/><meta/><title>t</title><meta></meta><!--m--></head>"
        "<body><meta/></body></html>");
    cleanHead(*document);
    EXPECT_EQ(serialize(*document),
              "<html><head><meta charset=\"utf-8\"/><title>t</title><!--m--></head><body><meta/></body></html>");

    std::unique_ptr<KILN::Document> headless = parse("<html><body><meta/></body></html>");
    cleanHead(*headless);
    EXPECT_EQ(serialize(*headless), "<html><body><meta/></body></html>");
}
