// The check mode as a black box: a book with mistakes planted across three
// documents gives exactly those errors and warnings at their places, a
// failing post-process lists the notation errors before its error 023, and a
// freshly pre-processed book gives none.

#include "tests/support/Corpus.h"
#include "tests/zef/MiniBook.h"
#include "tests/zef/ZefFixture.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace zef::test;

// A planted mistake: the document, the text it starts with (unique in the
// document), what the check says of it.
struct Planted {
    std::string document;
    std::string at;
    std::string severity;
    std::string message;
};

// "LINE:COLUMN" of the first occurrence of needle in text, counted here
// from the UTF-8 bytes: lines end at LF, columns count characters from 1.
std::string placeOf(const std::string& text, const std::string& needle)
{
    const size_t offset = text.find(needle);
    EXPECT_NE(offset, std::string::npos) << needle;
    EXPECT_EQ(text.find(needle, offset + 1), std::string::npos) << needle << " is not unique";
    int line = 1;
    int column = 1;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The line without its quoted excerpt (": \"...\"" after a notation
// problem, " near \"...\"" after a grammar error); checks the excerpt is short.
std::string withoutExcerpt(const std::string& line)
{
    size_t quote = line.find(": \"");
    if (quote == std::string::npos)
        quote = line.find(" near \"");
    if (quote == std::string::npos)
        return line;
    const size_t open = line.find('"', quote);
    const std::string excerpt = line.substr(open + 1, line.size() - open - 2);
    size_t characters = 0;
    for (unsigned char c : excerpt)
        characters += (c & 0xC0) != 0x80;
    EXPECT_LE(characters, 31u) << line;
    return line.substr(0, quote);
}

const std::string One = xhtmlDocument("\n<p>前｜木《き_｜立《た》って</p>\n"
                                      "<p>ab｜漢字《かんじ</p>\n"
                                      "<p>ここに｜かな《かな》と｜字《ji》</p>\n");
const std::string Two = xhtmlDocument("\n<p>これは《注》です｜</p>\n"
                                      "<p>&amp;&#x41;｜漢《》と｜山《やま》と｜空《そら》｜｜</p>\n"
                                      "<p><b>太字</i>と｜星《星》</p>\n"
                                      "<p>｜a《b｜c</p>\n");
const std::string Three = xhtmlDocument("\n<p class=\"x\" class=\"y\">壊れた文書</p>\n");

const std::vector<Planted> Mistakes = {
    {"one", "《き_", "warning", "a division mark in a reading"},
    {"one", "｜立", "warning", "the reading runs into the next ｜ (a missing closing bracket makes a group)"},
    {"one", "｜漢字《かんじ", "error", "malformed ruby notation: a base whose reading is never closed"},
    {"one", "｜かな", "warning", "a base of kana only"},
    {"one", "《ji", "warning", "an ASCII letter in a reading"},
    {"two", "《注", "warning", "a notation mark outside any ruby notation"},
    {"two", "》です", "warning", "a notation mark outside any ruby notation"},
    {"two", "｜</p>\n<p>&amp;", "warning", "a notation mark outside any ruby notation"},
    {"two", "《》", "warning", "an empty reading"},
    {"two", "</i>", "warning", "the end tag </i> closes <b> (accepted as if it named it)"},
    {"two", "《星", "warning", "a kanji in a reading"},
    {"two", "｜c", "error", "malformed ruby notation: a separating ｜ not followed by a base and its reading"},
    {"three", "=\"y\"", "error", "XML error 157: attribute is duplicated."},
};

MiniBook plantedBook()
{
    MiniBook book;
    book.chapters = {{"text/one.xhtml", One}, {"text/two.xhtml", Two}, {"text/three.xhtml", Three}};
    return book;
}

std::string expectedLine(const Planted& mistake)
{
    const std::string& text = mistake.document == "one" ? One : mistake.document == "two" ? Two : Three;
    return "OEBPS/text/" + mistake.document + ".xhtml:" + placeOf(text, mistake.at) + ": " + mistake.severity + ": "
         + mistake.message;
}

class CheckTest : public ZefFixture {};

TEST_F(CheckTest, PlantedMistakesAreFoundAtTheirPlaces)
{
    writeZip(path("book.epub"), plantedBook().entries());
    const ProgramResult r = zef({"-c", path("book.epub")});
    EXPECT_EQ(r.status, 3) << describe(r);
    std::vector<std::string> expected;
    for (const Planted& mistake : Mistakes)
        expected.push_back(expectedLine(mistake));
    expected.push_back("3 errors, 10 warnings in 4 documents");
    std::vector<std::string> found;
    for (const std::string& line : linesOf(r.out))
        found.push_back(withoutExcerpt(line));
    EXPECT_EQ(found, expected);
    EXPECT_EQ(r.err, "");

    // The same for one file; warnings alone do not fail the check.
    writeText(path("one.xhtml"), One);
    writeText(path("clean.xhtml"), xhtmlDocument("<p>｜字《じ》と｜空《そら》</p>"));
    EXPECT_EQ(zef({"-hc", path("one.xhtml")}).status, 3);
    const ProgramResult clean = zef({"--check-html", path("clean.xhtml")});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "0 errors, 0 warnings in 1 documents\n");
    writeText(path("slip.xhtml"), xhtmlDocument("<p>｜字《ji》</p>"));
    EXPECT_EQ(zef({"-hc", path("slip.xhtml")}).status, 0);
}

TEST_F(CheckTest, ControlCharactersOfTheBookAreEscapedInTheList)
{
    // Regression: an excerpt quoted a C1 control (here U+009B, a terminal's
    // control sequence introducer) raw onto the user's terminal.
    writeText(path("c1.xhtml"), xhtmlDocument("<p>\u009B[2J｜字《じ</p>"));
    const ProgramResult r = zef({"-hc", path("c1.xhtml")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out.find("\u009B"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\\xC2\\x9B[2J"), std::string::npos) << r.out;
}

TEST_F(CheckTest, CheckWritesNothingAndTakesNoDestination)
{
    writeZip(path("book.epub"), MiniBook().entries());
    const ProgramResult r = zef({"--check", path("book.epub"), path("out.epub")});
    EXPECT_EQ(r.status, 255);
    EXPECT_FALSE(fs::exists(path("out.epub")));
    EXPECT_EQ(zef({"-c"}).status, 1);
    // A book that cannot be opened fails as the post-process would.
    writeText(path("not.epub"), "not a zip");
    const ProgramResult broken = zef({"-c", path("not.epub")});
    EXPECT_EQ(broken.status, 3);
    EXPECT_EQ(broken.err.rfind("ERROR: 003 ", 0), 0u) << broken.err;
}

TEST_F(CheckTest, FailingPostProcessListsEveryNotationError)
{
    MiniBook book = plantedBook();
    book.chapters.pop_back();
    writeZip(path("book.epub"), book.entries());
    writeText(path("out.epub"), "earlier output");
    const ProgramResult r = zef({path("book.epub"), path("out.epub")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(fileContent(path("out.epub")), "earlier output");
    const std::vector<std::string> lines = linesOf(r.err);
    ASSERT_EQ(lines.size(), 3u) << r.err;
    EXPECT_EQ(withoutExcerpt(lines[0]), expectedLine(Mistakes[2]));
    EXPECT_EQ(withoutExcerpt(lines[1]), expectedLine(Mistakes[11]));
    EXPECT_EQ(lines[2].rfind("ERROR: 023 Ruby parser syntax error. OEBPS/text/one.xhtml:" + placeOf(One, "｜漢字《かんじ")
                                 + ": malformed ruby notation",
                             0),
              0u)
        << lines[2];
}

TEST_F(CheckTest, PreProcessedBooksHoldNoMistakes)
{
    const std::string sample = ZEF_SOURCE_DIR "/doc/sample.epub";
    ASSERT_EQ(zef({"-a", sample, path("pre.epub")}).status, 0);
    ProgramResult r = zef({"-c", path("pre.epub")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0 errors, 0 warnings in 4 documents\n");

    const fs::path novel = corpusBook("kusamakura.epub");
    if (novel.empty())
        GTEST_SKIP() << "the corpus is absent";
    ASSERT_EQ(zef({"-a", novel.string(), path("novel.epub")}).status, 0);
    r = zef({"-c", path("novel.epub")});
    EXPECT_EQ(r.status, 0);
    // A word without a reading is written without ruby: no empty reading.
    const std::vector<std::string> lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 1u) << r.out;
    EXPECT_EQ(lines[0].rfind("0 errors, 0 warnings in ", 0), 0u) << r.out;
}

} // namespace
