#include "model/PageBreaks.h"

#include "kiln/base/Attr.h"
#include "model/Href.h"

#include "XhtmlRewriting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace XhtmlRewriting;

namespace {

const std::string XhtmlRoot = "<html xmlns=\"http://www.w3.org/1999/xhtml\">";
const std::string DeclaringRoot =
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\">";

struct Case {
    const char* body;
    const char* expected;
};

std::string marked(const std::string& content)
{
    return rewriteBody(content, [](KILN::Element& body, KILN::Document& document) { markPageBreaks(document, body); });
}

// The items collected from content after marking, as "label>href" lines.
std::string collected(const std::string& content, const char* link = "p.xhtml")
{
    std::unique_ptr<KILN::Document> document = parse(page(content));
    markPageBreaks(*document, body(*document));
    std::vector<TocItem> items;
    collectPageBreaks(body(*document), KILN::Utf8String(link), items);
    std::string dump;
    for (const TocItem& item : items) {
        EXPECT_EQ(item.kind, 0);
        dump += std::string(item.label.data(), item.label.length()) + ">" + std::string(item.href.data(), item.href.length()) + "\n";
    }
    return dump;
}

std::string relative(const char* navigation, const char* content)
{
    return S(relativeHref(KILN::PathString(navigation), KILN::PathString(content)));
}

TocItem item(const char* label, const char* href)
{
    return TocItem{0, KILN::Utf8String(label), KILN::Utf8String(href)};
}

} // namespace

TEST(PageBreaksTest, MarksPageSpans)
{
    const Case cases[] = {
        {"<p><span id=\"p1\" class=\"page-normal\">1</span></p>",
         "<p><span class=\"page-normal\" epub:type=\"pagebreak\" id=\"p1\">1</span></p>"},
        // Only an exact class and a non-empty id qualify.
        {"<span class=\"page-normal\">1</span><span id=\"\" class=\"page-normal\">2</span>"
         "<span id=\"p3\" class=\"page-normal blank\">3</span><span id=\"p4\">4</span><div id=\"p5\" class=\"page-normal\"/>",
         "<span class=\"page-normal\">1</span><span class=\"page-normal\" id=\"\">2</span>"
         "<span class=\"page-normal blank\" id=\"p3\">3</span><span id=\"p4\">4</span><div class=\"page-normal\" id=\"p5\"/>"},
        // A marked span is not looked into; other elements are.
        {"<div><span id=\"a\"><span id=\"p1\" class=\"page-normal\"><span id=\"p2\" class=\"page-normal\"/></span></span></div>",
         "<div><span id=\"a\"><span class=\"page-normal\" epub:type=\"pagebreak\" id=\"p1\">"
         "<span class=\"page-normal\" id=\"p2\"/></span></span></div>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(marked(c.body), c.expected) << c.body;
}

TEST(PageBreaksTest, SpanWithPlainEpubTypeGetsExactlyOne)
{
    std::unique_ptr<KILN::Document> document =
        parse(DeclaringRoot + "<body><span id=\"p1\" class=\"page-normal\" epub:type=\"noteref\">1</span></body></html>");
    markPageBreaks(*document, body(*document));
    KILN::Node* span = body(*document).getFirstChild();
    EXPECT_EQ(span->getAttributes()->count(), 3u);
    EXPECT_EQ(serialize(*span), "<span class=\"page-normal\" epub:type=\"pagebreak\" id=\"p1\">1</span>");
    EXPECT_NE(static_cast<KILN::Element*>(span)->getAttributeNodeNS(KILN::Utf16String(OpsNamespace), KILN::Utf16String("type")),
              nullptr);
}

TEST(PageBreaksTest, RootWithoutEpubPrefixGetsItDeclared)
{
    const std::string span = "<body><span id=\"p1\" class=\"page-normal\">1</span></body></html>";
    std::unique_ptr<KILN::Document> document = parse(XhtmlRoot + span);
    markPageBreaks(*document, body(*document));
    EXPECT_EQ(serialize(*document),
              DeclaringRoot + "<body><span class=\"page-normal\" epub:type=\"pagebreak\" id=\"p1\">1</span></body></html>");

    // A declaration of the book's own stays as it is; no mark, no declaration.
    const std::string own = "<html xmlns:epub=\"urn:own\"><body><span id=\"p1\" class=\"page-normal\"/></body></html>";
    document = parse(own);
    markPageBreaks(*document, body(*document));
    EXPECT_EQ(serialize(*document),
              "<html xmlns:epub=\"urn:own\"><body><span class=\"page-normal\" epub:type=\"pagebreak\" id=\"p1\"/></body></html>");
    const std::string unmarked = XhtmlRoot + "<body><span id=\"p1\">1</span></body></html>";
    document = parse(unmarked);
    markPageBreaks(*document, body(*document));
    EXPECT_EQ(serialize(*document), unmarked);
}

TEST(PageBreaksTest, CollectsEveryPageBreakInDocumentOrder)
{
    EXPECT_EQ(collected("<p><span id=\"p1\" class=\"page-normal\">1</span>a<b><span id=\"p2\" class=\"page-normal\">ii</span></b></p>",
                        "xhtml/p-001.xhtml"),
              "1>xhtml/p-001.xhtml#p1\nii>xhtml/p-001.xhtml#p2\n");
    // The publisher's spans and the book's own page breaks, in one order;
    // elements without an id cannot be linked to.
    EXPECT_EQ(collected("<span id=\"p1\" class=\"page-normal\">1</span><span class=\"page-normal\">x</span>"
                        "<span id=\"p2\" epub:type=\"pagebreak\">2</span><div id=\"p3\" epub:type=\" noteref  pagebreak\">3</div>"
                        "<span epub:type=\"pagebreak\">4</span><span id=\"p5\" epub:type=\"pagebreaks\">5</span>"),
              "1>p.xhtml#p1\n2>p.xhtml#p2\n3>p.xhtml#p3\n");
    // A taken page break is not looked into.
    EXPECT_EQ(collected("<span id=\"p4\" class=\"page-normal\"><span id=\"p5\" class=\"page-normal\">5</span></span>"),
              "5>p.xhtml#p4\n");
}

TEST(PageBreaksTest, PageLabelIsTheWholeTextWithoutReadings)
{
    const Case cases[] = {
        {"<span id=\"p\" class=\"page-normal\">第3頁</span>", "第3頁>p.xhtml#p\n"},
        {"<span id=\"p\" class=\"page-normal\">第<b>3</b>頁</span>", "第3頁>p.xhtml#p\n"},
        {"<span id=\"p\" class=\"page-normal\"><b>1</b></span>", "1>p.xhtml#p\n"},
        {"<span id=\"p\" epub:type=\"pagebreak\"><ruby><rb>一</rb><rp>（</rp><rt>いち</rt><rp>）</rp></ruby>頁</span>",
         "一頁>p.xhtml#p\n"},
        {"<span id=\"p\" class=\"page-normal\">\n 12\t</span>", "12>p.xhtml#p\n"},
        // An empty page break is named by its title, its aria-label, its id.
        {"<span id=\"p\" epub:type=\"pagebreak\" title=\"iv\" aria-label=\"4\"/>", "iv>p.xhtml#p\n"},
        {"<span id=\"p\" epub:type=\"pagebreak\" title=\"\" aria-label=\"4\"> </span>", "4>p.xhtml#p\n"},
        {"<span id=\"p7\" epub:type=\"pagebreak\"></span>", "p7>p.xhtml#p7\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(collected(c.body), c.expected) << c.body;
}

TEST(PageBreaksTest, PageBreakPredicate)
{
    std::unique_ptr<KILN::Document> document =
        parse(page("<span id=\"a\" class=\"page-normal\"/><span id=\"b\" epub:type=\"x pagebreak\"/>"
                   "<span class=\"page-normal\"/><span id=\"c\" class=\"page-normal blank\"/><span id=\"d\"/>"));
    std::string answers;
    for (KILN::Node* node = body(*document).getFirstChild(); node; node = node->getNextSibling())
        answers += isPageBreak(static_cast<KILN::Element&>(*node)) ? '1' : '0';
    EXPECT_EQ(answers, "11000");
}

TEST(PageBreaksTest, RelativeHref)
{
    const struct {
        const char* navigation;
        const char* content;
        const char* link;
    } cases[] = {
        {"/w/item/navigation-documents.xhtml", "/w/item/xhtml/p-001.xhtml", "xhtml/p-001.xhtml"},
        {"/w/OEBPS/nav/nav.xhtml", "/w/OEBPS/text/ch1.xhtml", "../text/ch1.xhtml"},
        {"/w/OEBPS/nav.xhtml", "/w/OEBPS/ch1.xhtml", "ch1.xhtml"},
        {"/w/OEBPS/nav.xhtml", "/w/ch1.xhtml", "../ch1.xhtml"},
        {"/w/a/b/c/nav.xhtml", "/w/a/x/y/p.xhtml", "../../x/y/p.xhtml"},
        // Folders are compared by whole components.
        {"/w/ab/nav.xhtml", "/w/a/p.xhtml", "../a/p.xhtml"},
        {"OEBPS/nav/nav.xhtml", "OEBPS/text/ch1.xhtml", "../text/ch1.xhtml"},
        {"/nav.xhtml", "/p.xhtml", "p.xhtml"},
        {"/n/nav.xhtml", "/p.xhtml", "../p.xhtml"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(relative(c.navigation, c.content), c.link) << c.navigation << " " << c.content;
}

TEST(PageBreaksTest, RelativeHrefOfPathsWithoutFolder)
{
    EXPECT_EQ(relative("nav.xhtml", "ch1.xhtml"), "ch1.xhtml");
    EXPECT_EQ(relative("nav.xhtml", "text/ch1.xhtml"), "text/ch1.xhtml");
    EXPECT_EQ(relative("nav/nav.xhtml", "ch1.xhtml"), "../ch1.xhtml");
}

TEST(PageBreaksTest, RebuildsOnlyTheEntriesOfThePageList)
{
    const std::string head = DeclaringRoot + "<head><title>n</title></head><body>";
    const std::string toc = "<nav epub:type=\"toc\"><ol><li><a href=\"p.xhtml\">c</a></li></ol></nav>";
    const std::string landmarks = "<nav epub:type=\"landmarks\"><ol/></nav>";
    const std::string entries = "<li><a href=\"xhtml/p-001.xhtml#p1\">1</a></li>"
                                "<li><a href=\"xhtml/p-002.xhtml#p2\">a&amp;b</a></li>";
    const std::string oldList = "<nav epub:type=\"page-list\" hidden=\"\"><h2>P</h2><ol><li><a href=\"x#1\">1</a></li></ol></nav>";
    const std::string keptList = "<nav epub:type=\"page-list\" hidden=\"\"><h2>P</h2><ol>" + entries + "</ol></nav>";
    const std::string newList = "<nav epub:type=\"page-list\"><ol>" + entries + "</ol></nav>";
    const std::vector<TocItem> items = {item("1", "xhtml/p-001.xhtml#p1"), item("a&b", "xhtml/p-002.xhtml#p2")};
    const struct {
        std::string body;
        std::string expected;
    } cases[] = {
        // Without a page list a new one goes at the end of the body.
        {toc, toc + newList},
        // An existing one stays where it is, hidden, with its heading.
        {toc + oldList + landmarks, toc + keptList + landmarks},
        // With several page lists the last one is filled.
        {"<div>" + oldList + "</div>" + oldList, "<div>" + oldList + "</div>" + keptList},
        // The list keeps its attributes; a nav without a list gets one.
        {"<nav epub:type=\"page-list\"><ol class=\"n\"><li>x</li>\n</ol><p>t</p></nav>",
         "<nav epub:type=\"page-list\"><ol class=\"n\">" + entries + "</ol><p>t</p></nav>"},
        {"<nav epub:type=\"page-list\"><h2>P</h2></nav>", "<nav epub:type=\"page-list\"><h2>P</h2><ol>" + entries + "</ol></nav>"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<KILN::Document> document = parse(head + c.body + "</body></html>");
        EXPECT_TRUE(rebuildPageList(*document, items));
        EXPECT_EQ(serialize(*document), head + c.expected + "</body></html>") << c.body;
    }

    std::unique_ptr<KILN::Document> bare = parse("<html><body/></html>");
    EXPECT_TRUE(rebuildPageList(*bare, {}));
    EXPECT_EQ(serialize(*bare), "<html xmlns:epub=\"http://www.idpf.org/2007/ops\"><body><nav epub:type=\"page-list\"><ol/></nav></body></html>");
}

TEST(PageBreaksTest, OldPageListIsFoundByTokenAndNamespace)
{
    const std::string head = "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" "
                             "xmlns:o=\"http://www.idpf.org/2007/ops\"><head><title>n</title></head><body>";
    const std::string newList = "<nav epub:type=\"page-list\"><ol><li><a href=\"p.xhtml#p1\">1</a></li></ol></nav>";
    const std::string kept[] = {
        "<nav epub:type=\"page-listing\"><ol/></nav>",
        "<nav type=\"page-list\"><ol/></nav>",
        "<svg:nav epub:type=\"page-list\" xmlns:svg=\"http://www.w3.org/2000/svg\"/>",
    };
    const std::string entry = "<li><a href=\"p.xhtml#p1\">1</a></li>";
    // The nav found is kept with its attributes; only its list is filled.
    const std::pair<std::string, std::string> replaced[] = {
        {"<nav epub:type=\"index page-list\"><ol/></nav>", "<nav epub:type=\"index page-list\"><ol>" + entry + "</ol></nav>"},
        {"<nav o:type=\" page-list\"><ol/></nav>", "<nav o:type=\" page-list\"><ol>" + entry + "</ol></nav>"},
        {"<h:nav epub:type=\"page-list\" xmlns:h=\"http://www.w3.org/1999/xhtml\"><h:ol/></h:nav>",
         "<h:nav epub:type=\"page-list\" xmlns:h=\"http://www.w3.org/1999/xhtml\"><h:ol><h:li><h:a href=\"p.xhtml#p1\">1</h:a></h:li></h:ol></h:nav>"},
    };
    for (const std::string& nav : kept) {
        std::unique_ptr<KILN::Document> document = parse(head + nav + "</body></html>");
        EXPECT_TRUE(rebuildPageList(*document, {item("1", "p.xhtml#p1")}));
        EXPECT_EQ(serialize(*document), head + nav + newList + "</body></html>");
    }
    for (const auto& [nav, filled] : replaced) {
        std::unique_ptr<KILN::Document> document = parse(head + nav + "</body></html>");
        EXPECT_TRUE(rebuildPageList(*document, {item("1", "p.xhtml#p1")}));
        EXPECT_EQ(serialize(*document), head + filled + "</body></html>");
    }
}

TEST(PageBreaksTest, NavigationWithoutBodyIsRefused)
{
    const std::string source = "<html><head><nav epub:type=\"page-list\"/></head></html>";
    std::unique_ptr<KILN::Document> document = parse(source);
    EXPECT_FALSE(rebuildPageList(*document, {item("1", "p.xhtml#p1")}));
    EXPECT_EQ(serialize(*document), source);
}
