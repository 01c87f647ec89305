// Where the parser places its errors and the nodes it was asked to record:
// lines and columns in characters, excerpts, and the same after the text of a
// large file has been given back behind the cursor.

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/Utf8String.h"

#include "XmlTreeDump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

using namespace KILN;

namespace {

struct Placed {
    int32_t code;
    uint32_t line;
    uint32_t column;
    std::string excerpt;
};

Placed placed(const XMLParseReport& report)
{
    return Placed{report.code, report.position.line, report.position.column, Utf8String(report.excerpt).zeroTerminated()};
}

Placed parseText(const std::u16string& text)
{
    XMLParseReport report;
    const std::unique_ptr<Document> document(
        parseXMLText(reinterpret_cast<const unsigned short*>(text.data()), static_cast<uint32_t>(text.size()), 0, report));
    EXPECT_EQ(document, nullptr);
    return placed(report);
}

void expectPlaced(const Placed& found, const Placed& expected, const char* what)
{
    EXPECT_EQ(found.code, expected.code) << what;
    EXPECT_EQ(found.line, expected.line) << what;
    EXPECT_EQ(found.column, expected.column) << what;
    EXPECT_EQ(found.excerpt, expected.excerpt) << what;
}

std::filesystem::path writeFile(const std::string& name, const std::string& bytes)
{
    const std::filesystem::path path =
        std::filesystem::path(testing::TempDir()) / (std::to_string(getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

Document* parseFile(const std::filesystem::path& path, XMLParseReport& report, XMLSourceMap* sources = nullptr)
{
    Utf16String name(path.string().c_str());
    return parseXMLFile(name.zeroTerminated(), nullptr, 0, report, sources);
}

} // namespace

TEST(XMLParseReportTest, ErrorsArePlacedByLineAndCharacter)
{
    // Lines end at LF (a CR before it takes no column); a character above
    // U+FFFF is one column; the excerpt stays on the error's line. A
    // duplicate attribute is found once its name has been read.
    expectPlaced(parseText(u"<r>\r\n<a b='1' b='2'/></r>"), {157, 2, 11, "<a b='1' b='2'/></r>"}, "duplicate");
    expectPlaced(parseText(u"<r>\n\n\xD842\xDFB7\x6F22<x</r>"), {101, 3, 5, "\xF0\xA0\xAE\xB7\xE6\xBC\xA2<x</r>"},
                 "after a surrogate pair");
    // Past the end of the text once it has all been read.
    expectPlaced(parseText(u"<r>\n<p>text"), {171, 2, 8, "<p>text"}, "end of input");
    // A long line is cut to about fifteen characters on either side.
    std::u16string longLine = u"<r>" + std::u16string(40, u'x') + u"<1/>" + std::u16string(40, u'y') + u"</r>";
    expectPlaced(parseText(longLine), {101, 1, 45, std::string(14, 'x') + "<1/>" + std::string(12, 'y')}, "long line");
}

TEST(XMLParseReportTest, TheOldEntryPrintsAndTheNewOneReports)
{
    const std::u16string text = u"<r><a></r";
    testing::internal::CaptureStderr();
    EXPECT_EQ(parseXMLText(reinterpret_cast<const unsigned short*>(text.data()), 9, 0), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR:158: can't find end tag close '>'.\n");
    testing::internal::CaptureStderr();
    expectPlaced(parseText(text), {158, 1, 10, "<r><a></r"}, "reported");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // A byte-order mark is no column; a missing file reports nothing.
    XMLParseReport report;
    EXPECT_EQ(parseFile(writeFile("mark.xml", "\xEF\xBB\xBF<r a='1' a='1'/>"), report), nullptr);
    expectPlaced(placed(report), {157, 1, 11, "<r a='1' a='1'/>"}, "mark");
    EXPECT_EQ(parseFile(writeFile("none.xml", "") / "missing", report), nullptr);
    EXPECT_EQ(report.code, 0);
}

TEST(XMLParseReportTest, LargeFilesArePlacedAfterTheirTextIsGivenBack)
{
    // Megabytes of lines before the error, so that the decoded text has been
    // given back in steps behind the cursor when the error is placed.
    std::string bytes = "<r>\n";
    uint32_t lines = 1;
    while (bytes.size() < 5'000'000) {
        bytes += "<p>\xE8\x8D\x89\xE6\x9E\x95 line " + std::to_string(lines) + "</p>\n";
        ++lines;
    }
    bytes += "<p>last one</q <x/></r>\n";
    XMLParseReport report;
    EXPECT_EQ(parseFile(writeFile("large.xml", bytes), report), nullptr);
    expectPlaced(placed(report), {158, lines + 1, 16, "<p>last one</q <x/></r>"}, "large");
}

TEST(XMLParseReportTest, SourceMapPlacesTextsAndMismatchedEndTags)
{
    XMLParseReport report;
    XMLSourceMap sources;
    const std::unique_ptr<Document> document(
        parseFile(writeFile("map.xml", "<r>\n  <b>\xE5\xA4\xAA&amp;x</i>tail\n</r>"), report, &sources));
    ASSERT_NE(document, nullptr);
    const Node* root = XmlTest::rootElement(document.get());
    const Node* indent = root->getFirstChild();
    const Node* bold = indent->getNextSibling();
    const Node* tail = bold->getNextSibling();
    const XMLSourcePosition* place = sources.textPosition(indent);
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->line, 1u);
    EXPECT_EQ(place->column, 4u);
    ASSERT_NE(place = sources.textPosition(bold->getFirstChild()), nullptr);
    EXPECT_EQ(place->line, 2u);
    EXPECT_EQ(place->column, 6u);
    ASSERT_NE(place = sources.textPosition(tail), nullptr);
    EXPECT_EQ(place->column, 17u);
    EXPECT_EQ(sources.textPosition(root), nullptr);
    ASSERT_EQ(sources.mismatches().size(), 1u);
    EXPECT_EQ(sources.mismatches()[0].position.column, 13u);
    EXPECT_TRUE(sources.mismatches()[0].opened == Utf16String("b"));
    EXPECT_TRUE(sources.mismatches()[0].closed == Utf16String("i"));
}
