// Books of shapes real ones have (image and SVG spine items, foreign items
// with fallbacks, prefixed package elements, token lists, escaped hrefs,
// inline SVG and MathML, XHTML under a prefix), each made as a small book of
// its own and taken through the pre-process and the post-process.

#include "model/ZephraModel.h"

#include "support/BookFiles.h"
#include "support/ScratchFolder.h"
#include "support/TemporaryFolder.h"
#include "support/ZipBuilder.h"
#include "support/ZipReader.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>

#include <mecab.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

using namespace zef::test;
namespace fs = std::filesystem;

namespace {

const std::string Png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR<&>", 20);
const std::string Svg = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">"
                        "<title>表紙</title><text x=\"1\" y=\"5\">吾輩は猫である_</text></svg>\n";

std::string page(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\">"
           "<head><title>t</title></head><body>" + body + "</body></html>\n";
}

const std::string Chapter = page("<p>吾輩は猫である。</p>");

struct Book {
    std::string manifest;  // item elements, hrefs relative to OPS/
    std::string spine;     // itemref elements
    std::map<std::string, std::string> files;  // below OPS/
    std::string packageTag = "package";
    std::string prefix;  // of the package elements
};

std::string packageDocument(const Book& book)
{
    const std::string p = book.prefix;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + book.packageTag +
           " xmlns" + (p.empty() ? "" : ":" + p.substr(0, p.size() - 1)) +
           "=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"id\"><" + p +
           "metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:identifier id=\"id\">x</dc:identifier>"
           "<dc:title>t</dc:title><dc:language>ja</dc:language></" + p + "metadata><" + p + "manifest>" +
           book.manifest + "</" + p + "manifest><" + p + "spine>" + book.spine + "</" + p + "spine></" +
           book.packageTag + ">\n";
}

std::string item(const std::string& id, const std::string& href, const std::string& type,
                 const std::string& more = "")
{
    return "<item id=\"" + id + "\" href=\"" + href + "\" media-type=\"" + type + "\"" + more + "/>";
}

const std::string NavItem = item("nav", "nav.xhtml", "application/xhtml+xml", " properties=\"nav\"");
const std::string Navigation = page("<nav epub:type=\"toc\"><ol><li><a href=\"c.xhtml\">c</a></li></ol></nav>");

class BookShapesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_temporaryFolder.emplace(scratch / "tmp");
        MeCab::Tagger* tagger = zef::test::newPinnedTagger();
        m_analyser = tagger != nullptr;
        delete tagger;
    }
    void TearDown() override { m_temporaryFolder.reset(); }

    // The files of the book after the pre-process (when MeCab starts) and
    // the post-process with the publisher's rewriting.
    std::map<std::string, std::string> converted(const Book& book)
    {
        const fs::path source = scratch / "book.epub";
        {
            ZipBuilder zip(source);
            zip.addFile("mimetype", "application/epub+zip", 0)
                .addFile("META-INF/container.xml",
                         "<?xml version=\"1.0\"?>\n<container xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
                         "version=\"1.0\"><rootfiles><rootfile full-path=\"OPS/package.opf\" "
                         "media-type=\"application/oebps-package+xml\"/></rootfiles></container>")
                .addFile("OPS/package.opf", packageDocument(book));
            for (const auto& [name, content] : book.files)
                zip.addFile("OPS/" + name, content);
        }
        fs::path current = source;
        if (m_analyser) {
            ZephraModel model;
            model.preProcessEpub(zef::test::pinned(PreProcessOptions()), pathString(current),
                                 pathString(scratch / "pre.epub"));
            current = scratch / "pre.epub";
        }
        ZephraModel model;
        model.postProcessEpub(pathString(current), pathString(scratch / "post.epub"), PostProcessOptions());
        std::map<std::string, std::string> files;
        for (ZipEntry& entry : readZip(scratch / "post.epub"))
            files[entry.name] = std::move(entry.content);
        EXPECT_TRUE(fs::is_empty(scratch / "tmp"));
        return files;
    }

    // Whether MeCab starts, so that the pre-process divides and annotates.
    bool analysed() const { return m_analyser; }

    // The chapter was converted: divided and annotated when MeCab starts.
    void expectConverted(const std::string& written)
    {
        if (m_analyser) {
            EXPECT_NE(written.find("<rb>吾輩</rb>"), std::string::npos) << written;
        }
    }

    ScratchFolder scratch;

private:
    std::optional<zef::test::TemporaryFolder> m_temporaryFolder;
    bool m_analyser = false;
};

} // namespace

TEST_F(BookShapesTest, ImageAndSvgSpineItemsAreLeftAsTheyAre)
{
    Book book;
    book.manifest = NavItem + item("cover", "cover.png", "image/png") + item("art", "art.svg", "image/svg+xml") +
                    item("c", "c.xhtml", "application/xhtml+xml") + item("jpeg", "p.jpg", "image/jpeg");
    book.spine = "<itemref idref=\"cover\"/><itemref idref=\"art\"/><itemref idref=\"c\"/><itemref idref=\"jpeg\"/>";
    book.files = {{"nav.xhtml", Navigation}, {"cover.png", Png}, {"art.svg", Svg}, {"c.xhtml", Chapter},
                  {"p.jpg", "\xFF\xD8\xFF\xE0 not XML"}};
    std::map<std::string, std::string> files = converted(book);
    EXPECT_EQ(files["OPS/cover.png"], Png);
    EXPECT_EQ(files["OPS/art.svg"], Svg);
    EXPECT_EQ(files["OPS/p.jpg"], book.files["p.jpg"]);
    expectConverted(files["OPS/c.xhtml"]);
}

TEST_F(BookShapesTest, ImageOnlyBookIsRepackedUnchanged)
{
    Book book;
    book.manifest = NavItem + item("p1", "i/p1.png", "image/png") + item("p2", "i/p2.png", "IMAGE/PNG");
    book.spine = "<itemref idref=\"p1\"/><itemref idref=\"p2\"/>";
    book.files = {{"nav.xhtml", Navigation}, {"i/p1.png", Png}, {"i/p2.png", Png + "2"}};
    std::map<std::string, std::string> files = converted(book);
    EXPECT_EQ(files["OPS/i/p1.png"], Png);
    EXPECT_EQ(files["OPS/i/p2.png"], Png + "2");
    EXPECT_EQ(files["OPS/package.opf"], packageDocument(book));
}

TEST_F(BookShapesTest, ForeignSpineItemIsKeptAndItsXhtmlFallbackConverted)
{
    Book book;
    book.manifest = NavItem + item("data", "d.json", "application/json", " fallback=\"image\"") +
                    item("image", "d.dmg", "application/x-apple-diskimage", " fallback=\"c\"") +
                    item("c", "c.xhtml", "application/xhtml+xml");
    book.spine = "<itemref idref=\"data\"/>";
    book.files = {{"nav.xhtml", Navigation}, {"d.json", "{\"a\": \"<b>\"}"}, {"d.dmg", Png}, {"c.xhtml", Chapter}};
    std::map<std::string, std::string> files = converted(book);
    EXPECT_EQ(files["OPS/d.json"], book.files["d.json"]);
    EXPECT_EQ(files["OPS/d.dmg"], Png);
    expectConverted(files["OPS/c.xhtml"]);
}

TEST_F(BookShapesTest, PrefixedPackageAndTokenListNavigationAreRead)
{
    Book book;
    book.packageTag = "opf:package";
    book.prefix = "opf:";
    book.manifest = "<opf:item id=\"nav\" href=\"nav/my%20nav.xhtml\" media-type=\"application/xhtml+xml\" "
                    "properties=\"scripted nav\"/><opf:item id=\"c\" href=\"c.xhtml\" media-type=\"application/xhtml+xml\"/>";
    book.spine = "<opf:itemref idref=\"c\"/>";
    book.files = {{"nav/my nav.xhtml", Navigation},
                  {"c.xhtml", page("<p><span class=\"page-normal\" id=\"p1\">1</span>吾輩は猫である。</p>")}};
    std::map<std::string, std::string> files = converted(book);
    expectConverted(files["OPS/c.xhtml"]);
    // The page list found the navigation document through its escaped href.
    const std::string navigation = files["OPS/nav/my nav.xhtml"];
    EXPECT_NE(navigation.find("<nav epub:type=\"page-list\"><ol><li><a href=\"../c.xhtml#p1\">1</a>"),
              std::string::npos) << navigation;
}

TEST_F(BookShapesTest, PageListLinksToFilesWithSpacesAreEscaped)
{
    Book book;
    book.manifest = NavItem + item("c", "text/my%20c.xhtml", "application/xhtml+xml");
    book.spine = "<itemref idref=\"c\"/>";
    book.files = {{"nav.xhtml", Navigation}, {"text/my c.xhtml", page("<p><span class=\"page-normal\" id=\"p1\">1</span></p>")}};
    std::map<std::string, std::string> files = converted(book);
    EXPECT_NE(files["OPS/nav.xhtml"].find("<a href=\"text/my%20c.xhtml#p1\">1</a>"), std::string::npos)
        << files["OPS/nav.xhtml"];
}

TEST_F(BookShapesTest, InlineSvgAndMathmlKeepTheirText)
{
    const std::string svg = "<svg height=\"10\" width=\"10\" xmlns=\"http://www.w3.org/2000/svg\"><title>猫の絵</title>"
                            "<text>吾輩は<tspan>猫である</tspan></text></svg>";
    const std::string math = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>猫</mi><mo>=</mo><mn>1</mn></math>";
    Book book;
    book.manifest = NavItem + item("c", "c.xhtml", "application/xhtml+xml", " properties=\"svg mathml\"");
    book.spine = "<itemref idref=\"c\"/>";
    book.files = {{"nav.xhtml", Navigation}, {"c.xhtml", page("<p>吾輩は猫である。</p>" + svg + math)}};
    const std::string written = converted(book)["OPS/c.xhtml"];
    expectConverted(written);
    EXPECT_NE(written.find(svg), std::string::npos) << written;
    EXPECT_NE(written.find(math), std::string::npos) << written;
}

TEST_F(BookShapesTest, PrefixedXhtmlIsConvertedInItsOwnNamespace)
{
    // XHTML bound to a prefix: the body is found, and every element the
    // conversions make carries the prefix of the element it goes into. An
    // unprefixed name there would fall out of XHTML.
    const std::string open = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<h:html xmlns:h=\"http://www.w3.org/1999/xhtml\" "
                             "xmlns:epub=\"http://www.idpf.org/2007/ops\"><h:head><h:title>t</h:title>";
    const std::string chapter = open + "<h:meta/></h:head><h:body><h:p><h:span class=\"page-normal\" id=\"p1\">1</h:span>"
                                       "吾輩は猫である。</h:p><h:script>吾輩</h:script><p xmlns=\"http://www.w3.org/1999/xhtml\">"
                                       "吾輩</p></h:body></h:html>\n";
    const std::string navigation = open + "</h:head><h:body><h:nav epub:type=\"toc\"><h:ol><h:li><h:a href=\"c.xhtml\">c</h:a>"
                                          "</h:li></h:ol></h:nav></h:body></h:html>\n";
    Book book;
    book.manifest = NavItem + item("c", "c.xhtml", "application/xhtml+xml");
    book.spine = "<itemref idref=\"c\"/>";
    book.files = {{"nav.xhtml", navigation}, {"c.xhtml", chapter}};
    std::map<std::string, std::string> files = converted(book);
    const std::string written = files["OPS/c.xhtml"];
    if (analysed()) {
        EXPECT_NE(written.find("<h:ruby><h:rb>吾輩</h:rb><h:rp>（</h:rp><h:rt>わがはい</h:rt>"), std::string::npos) << written;
        EXPECT_NE(written.find("<h:wbr/>"), std::string::npos) << written;
        EXPECT_NE(written.find("<p xmlns=\"http://www.w3.org/1999/xhtml\"><ruby><rb>吾輩</rb>"), std::string::npos) << written;
    }
    EXPECT_EQ(written.find("<h:meta/>"), std::string::npos) << written;
    EXPECT_NE(written.find("<h:script>吾輩</h:script>"), std::string::npos) << written;
    EXPECT_NE(written.find("<h:span class=\"page-normal\" epub:type=\"pagebreak\" id=\"p1\">1</h:span>"), std::string::npos)
        << written;
    EXPECT_NE(files["OPS/nav.xhtml"].find("<h:nav epub:type=\"page-list\"><h:ol><h:li><h:a href=\"c.xhtml#p1\">1</h:a>"
                                          "</h:li></h:ol></h:nav>"),
              std::string::npos)
        << files["OPS/nav.xhtml"];
}
