#include "model/PreProcess.h"

#include "model/ContentDocument.h"
#include "model/XmlLookup.h"
#include "support/BookFiles.h"
#include "tests/support/Corpus.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>
#include <unzip.h>

#include <chrono>

using namespace zef::test;

namespace {

struct Case {
    std::string body;
    std::string expected;
};

// Pre-processes with the real analyser, on the converters' configuration.
class PreProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        context.tagger.reset(newPinnedTagger());
        if (!context.tagger)
            GTEST_SKIP() << "MeCab cannot start: " << MeCab::getLastError();
    }

    // The document as written back after the pre-process of its body,
    // without the byte-order mark and the declaration line.
    std::string preProcessed(const std::string& html)
    {
        const fs::path file = freshFolder("pre-process") / "page.xhtml";
        writeBytes(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + html);
        std::unique_ptr<KILN::Document> document = readContent(pathString(file));
        if (KILN::Element* body = findBody(*document))
            preProcessBody(*body, context);
        writeContent(pathString(file), *document);
        const std::string written = readBytes(file);
        return written.substr(written.find('\n') + 1);
    }

    // The body's content after the pre-process.
    std::string body(const std::string& content)
    {
        const std::string head = "<html><body>";
        const std::string tail = "</body></html>";
        const std::string written = preProcessed("<!DOCTYPE html [<!ENTITY own \"x\"><!ENTITY 漢 \"y\">]>\n" +
                                                 head + content + tail);
        const size_t start = written.find(head) + head.size();
        return written.substr(start, written.size() - start - tail.size());
    }

    EngineContext context;
};

// Running text as the post-process sees it once the marks are gone: a single
// mark removed, a doubled one made single, ruby notation replaced by its base.
std::string undivided(const std::string& text)
{
    const std::string bar = "｜", open = "《", close = "》";
    std::string plain;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '_' || text[i] == '~') {
            if (i + 1 < text.size() && text[i + 1] == text[i])
                plain += text[i++];
            ++i;
        } else if (text.compare(i, bar.size(), bar) == 0) {
            const size_t reading = text.find(open, i);
            const size_t end = text.find(close, reading);
            if (reading == std::string::npos || end == std::string::npos)
                return plain + "<broken ruby notation>";
            plain.append(text, i + bar.size(), reading - i - bar.size());
            i = end + close.size();
        } else {
            plain += text[i++];
        }
    }
    return plain;
}

// The text of every text node below node outside ruby, script and style.
void runningText(const KILN::Node& node, std::string& text)
{
    for (const KILN::Node* child = node.getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() == KILN::Node::ELEMENT_NODE) {
            const KILN::Utf16String& name = *child->getNodeName();
            if (!(name == units(u"ruby")) && !(name == units(u"script")) && !(name == units(u"style")))
                runningText(*child, text);
        } else if (child->getNodeType() == KILN::Node::TEXT_NODE) {
            text += utf8(toUtf8(*child->getNodeValue())) + "\n";
        }
    }
}

// Every content document of the archive, unpacked into folder.
std::vector<fs::path> unpackXhtml(const fs::path& archive, const fs::path& folder)
{
    std::vector<fs::path> files;
    unzFile zip = unzOpen64(archive.c_str());
    if (!zip)
        return files;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[1024];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            !std::string(name).ends_with(".xhtml") || unzOpenCurrentFile(zip) != UNZ_OK)
            continue;
        std::string bytes(info.uncompressed_size, '\0');
        const int read = unzReadCurrentFile(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
        unzCloseCurrentFile(zip);
        if (read == static_cast<int>(bytes.size())) {
            files.push_back(folder / ("doc" + std::to_string(files.size()) + ".xhtml"));
            writeBytes(files.back(), bytes);
        }
    }
    unzClose(zip);
    return files;
}

} // namespace

TEST_F(PreProcessTest, RunningTextGetsMarksAndRuby)
{
    EXPECT_EQ(body("<p>私は学生です。</p>"), "<p>｜私《わたし》は_｜学生《がくせい》です。</p>");
    // Each text node is divided on its own, also inside inline elements.
    EXPECT_EQ(body("<p><span class=\"a\">私は</span><em>学生です。</em></p>"),
              "<p><span class=\"a\">｜私《わたし》は</span><em>｜学生《がくせい》です。</em></p>");
}

TEST_F(PreProcessTest, RubyScriptStyleCommentsAndCdataStayAsTheyAre)
{
    const std::string untouched[] = {
        "<p><span><em><ruby>学生<rb>漢字</rb><rp>(</rp><rt>がくせい</rt></ruby></em></span></p>",
        "<ruby><ruby>学生</ruby><rt>がくせい</rt></ruby>",
        "<script>var s = 学生です;</script><style>p::before { content: 学生; }</style>",
        "<p>2024 <!-- 学生_です --><![CDATA[学生です]]><?pi 学生_です?></p>",
        "<p>Plain ASCII text, 12.5% &amp; more.</p>\n  <p/>",
    };
    for (const std::string& content : untouched)
        EXPECT_EQ(body(content), content);
}

TEST_F(PreProcessTest, SvgAndMathmlStayAsTheyAreButXhtmlInsideIsDivided)
{
    const std::string untouched[] = {
        "<svg xmlns=\"http://www.w3.org/2000/svg\"><title>学生</title><text>学生<tspan>です</tspan></text></svg>",
        "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>学生</mi><mtext>です</mtext></math>",
        // Prefixes bound on the root; an undeclared prefix is no XHTML either.
        "<svg:svg><svg:text>学生です</svg:text></svg:svg><m:math><m:mi>学生</m:mi></m:math><x:p>学生</x:p>",
    };
    for (const std::string& content : untouched) {
        const std::string html = "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:m=\"http://www.w3.org/1998/Math/MathML\" "
                                 "xmlns:svg=\"http://www.w3.org/2000/svg\"><body>" + content + "</body></html>";
        EXPECT_EQ(preProcessed(html), html) << content;
    }
    // XHTML in a foreignObject is running text again; the SVG around it is not.
    EXPECT_EQ(body("<svg xmlns=\"http://www.w3.org/2000/svg\"><text>学生</text><foreignObject>"
                   "<p xmlns=\"http://www.w3.org/1999/xhtml\">学生です</p></foreignObject></svg><p>学生</p>"),
              "<svg xmlns=\"http://www.w3.org/2000/svg\"><text>学生</text><foreignObject>"
              "<p xmlns=\"http://www.w3.org/1999/xhtml\">｜学生《がくせい》です</p></foreignObject></svg>"
              "<p>｜学生《がくせい》</p>");
}

TEST_F(PreProcessTest, HeadAndAttributesStayAsTheyAre)
{
    const std::string html = "<html><head><title>学生です</title></head>"
                             "<body title=\"学生です\"><p class=\"学生\">学生</p></body></html>";
    EXPECT_EQ(preProcessed(html), "<html><head><title>学生です</title></head>"
                                  "<body title=\"学生です\"><p class=\"学生\">｜学生《がくせい》</p></body></html>");
}

TEST_F(PreProcessTest, MarksAlreadyInTheTextAreDoubled)
{
    EXPECT_EQ(body("<p>A_B~C __</p>"), "<p>A__B~~C ____</p>");
    EXPECT_EQ(body("<p>学生_です~学生</p>"), "<p>｜学生《がくせい》__です~~｜学生《がくせい》</p>");
}

TEST_F(PreProcessTest, PhraseTablesNeverTakeHalfOfADoubledMark)
{
    // The kazenoha tables drop a mark after "、" and join "ず_うっと".
    EXPECT_EQ(body("<p>これは、_テスト。~です</p>"), "<p>これは、__テスト。~~です</p>");
    EXPECT_EQ(body("<p>ず_うっと</p>"), "<p>ず__うっと</p>");
    context.jyoshi_wakachi = true;
    EXPECT_EQ(body("<p>「~学生</p>"), "<p>「~~｜学生《がくせい》</p>");
}

TEST_F(PreProcessTest, NotationCharactersOfTheTextAreEscaped)
{
    EXPECT_EQ(body("<p>｜ABC《DEF》</p>"), "<p>＼｜ABC《DEF》</p>");
    EXPECT_EQ(body("<p>ｘ｜ｙ〈ｚ〉＼&amp;｜</p>"), "<p>ｘ＼｜ｙ〈ｚ〉＼＼&amp;＼｜</p>");
}

TEST_F(PreProcessTest, PageBreaksRubyAndCdataAreOnlyEscaped)
{
    const Case cases[] = {
        // Page labels are neither divided nor annotated; the text after is.
        {"<p><span class=\"page-normal\" id=\"p1\">一</span>学生</p>",
         "<p><span class=\"page-normal\" id=\"p1\">一</span>｜学生《がくせい》</p>"},
        {"<p><span epub:type=\"pagebreak\" id=\"p2\"><b>第3頁</b>_</span></p>",
         "<p><span epub:type=\"pagebreak\" id=\"p2\"><b>第3頁</b>__</span></p>"},
        {"<div epub:type=\"x pagebreak\" id=\"p3\">第四頁</div>", "<div epub:type=\"x pagebreak\" id=\"p3\">第四頁</div>"},
        // Not a page break: an exact class and an id are needed.
        {"<span class=\"page-normal x\" id=\"p4\">一</span>", "<span class=\"page-normal x\" id=\"p4\">｜一《いち》</span>"},
        // What the post-process reads in them is escaped all the same.
        {"<ruby>a_b｜c<rt>x~y</rt></ruby>学生", "<ruby>a__b＼｜c<rt>x~~y</rt></ruby>｜学生《がくせい》"},
        {"<p><![CDATA[学生_です]]></p>", "<p><![CDATA[学生__です]]></p>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(body(c.body), c.expected) << c.body;
}

TEST_F(PreProcessTest, ReferencesComeBackAsWrittenAndAreNeverDivided)
{
    const std::string references = "&amp;&lt;&gt;&quot;&apos;&#28450;&#x6F22;&#x1F600;&nbsp;&own;&漢;&my_ent;";
    EXPECT_EQ(body("<p>" + references + "</p>"), "<p>" + references + "</p>");
    EXPECT_EQ(body("<p>学生&nbsp;学生&#x6F22;字&漢;学生</p>"),
              "<p>｜学生《がくせい》&nbsp;｜学生《がくせい》&#x6F22;｜字《じ》&漢;｜学生《がくせい》</p>");
}

TEST_F(PreProcessTest, DeepNestingIsWalkedWithoutRecursion)
{
    const int depth = 9000;
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<i>";
        close += "</i>";
    }
    EXPECT_EQ(body(open + "学生" + close + "学生"), open + "｜学生《がくせい》" + close + "｜学生《がくせい》");
}

TEST_F(PreProcessTest, NoTextOfARealBookIsLost)
{
    const fs::path book = corpusBook("kusamakura.epub");
    if (book.empty())
        GTEST_SKIP() << "the shared corpus is absent";
    const std::vector<fs::path> files = unpackXhtml(book, freshFolder("corpus"));
    ASSERT_GT(files.size(), 10u);
    std::chrono::steady_clock::duration spent{};
    for (const fs::path& file : files) {
        std::unique_ptr<KILN::Document> document = readContent(pathString(file));
        KILN::Element* body = findBody(*document);
        ASSERT_NE(body, nullptr) << file;
        std::string before, after;
        runningText(*body, before);
        const auto start = std::chrono::steady_clock::now();
        preProcessBody(*body, context);
        spent += std::chrono::steady_clock::now() - start;
        runningText(*body, after);
        EXPECT_NE(after, before) << file;
        EXPECT_EQ(undivided(after), before) << file;
    }
    std::cout << "pre-process of the book's bodies: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(spent).count() << " ms\n";
}
