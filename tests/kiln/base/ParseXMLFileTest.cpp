#include "kiln/base/DocumentType.h"
#include "kiln/base/Element.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/XMLDecl.h"
#include "kiln/base/XMLScanner.h"
#include "kiln/base/XNodeList.h"

#include "XmlTreeDump.h"
#include "tests/support/Corpus.h"

#include <gtest/gtest-spi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace KILN;
using XmlTest::dumpRoot;
using XmlTest::S;
using XmlTest::U;

namespace {

namespace fs = std::filesystem;

// The flags the conversion model parses content documents with, and the
// package and navigation files.
constexpr uint32_t XhtmlFlags = XMLScanner::noNamespaces | XMLScanner::tolerateUndefinedEntities
    | XMLScanner::keepReferences | XMLScanner::markReferences | XMLScanner::expandPredefinedWhenMarking
    | XMLScanner::ltInAttributeValues | XMLScanner::attlistWithoutElement;
constexpr uint32_t PackageFlags = XMLScanner::tolerateUndefinedEntities | XMLScanner::ltInAttributeValues;

struct FileParse {
    std::unique_ptr<Document> document;
    std::string report;
};

FileParse parseFile(const fs::path& path, uint32_t flags = 0)
{
    const Utf16String widePath(path.string().c_str());
    Utf16String terminated(widePath);
    testing::internal::CaptureStderr();
    Document* document = parseXMLFile(terminated.zeroTerminated(), nullptr, flags);
    return FileParse{std::unique_ptr<Document>(document), testing::internal::GetCapturedStderr()};
}

// A folder of this test process's own, so that concurrent runs never share files.
fs::path scratch()
{
    struct Folder {
        const fs::path path = fs::path(testing::TempDir()) / ("parse-xml-file-" + std::to_string(getpid()));
        Folder() { fs::create_directories(path); }
        ~Folder()
        {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

fs::path writeFile(const std::string& name, const std::string& bytes)
{
    const fs::path path = scratch() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// UTF-16 text as bytes of one order, with or without a byte-order mark.
std::string utf16Bytes(const std::u16string& text, bool bigEndian, bool mark)
{
    std::string bytes;
    std::u16string all = mark ? u"\xFEFF" + text : text;
    for (char16_t unit : all) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

} // namespace

TEST(ParseXMLFileTest, MissingFileAnswersNullSilently)
{
    FileParse parsed = parseFile(fs::path(testing::TempDir()) / "no-such-file.xml");
    EXPECT_EQ(parsed.document, nullptr);
    EXPECT_EQ(parsed.report, "");
}

TEST(ParseXMLFileTest, EncodingsAreDetectedAndDecoded)
{
    const std::u16string text = u"<?xml version='1.0' encoding='UTF-16'?><p>\x8349\x6795\x3000\xD842\xDFB7</p>";
    const std::u16string expected = u"p{'\x8349\x6795\x3000\xD842\xDFB7'}";
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"utf8.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p>\xE8\x8D\x89\xE6\x9E\x95\xE3\x80\x80\xF0\xA0\xAE\xB7</p>"},
        {"utf8-mark.xml", "\xEF\xBB\xBF<p>\xE8\x8D\x89\xE6\x9E\x95\xE3\x80\x80\xF0\xA0\xAE\xB7</p>"},
        {"sjis.xml", "<?xml version='1.0' encoding='Shift_JIS'?><p>\x91\x90\x96\x8D\x81\x40\xF0\xA0\xAE\xB7</p>"},
        // A byte-order mark used to survive decoding and fail the parse with 112.
        {"utf16le-mark.xml", utf16Bytes(text, false, true)},
        {"utf16be-mark.xml", utf16Bytes(text, true, true)},
        {"utf16le.xml", utf16Bytes(text, false, false)},
    };
    for (const Case& c : cases) {
        FileParse parsed = parseFile(writeFile(c.name, c.bytes));
        ASSERT_NE(parsed.document, nullptr) << c.name << ": " << parsed.report;
        if (std::string(c.name) == "sjis.xml")
            EXPECT_EQ(dumpRoot(parsed.document.get()).substr(0, 6), u"p{'\x8349\x6795\x3000") << c.name;
        else
            EXPECT_EQ(dumpRoot(parsed.document.get()), expected) << c.name;
    }
}

TEST(ParseXMLFileTest, UnknownDeclaredEncodingIsAnErrorNotGarbage)
{
    FileParse parsed = parseFile(writeFile("klingon.xml", "<?xml version=\"1.0\" encoding=\"x-klingon\"?><p>\x91\x90</p>"));
    EXPECT_EQ(parsed.document, nullptr);
    EXPECT_EQ(parsed.report, "ERROR:164: the declared encoding is not supported: x-klingon\n");
}

TEST(ParseXMLFileTest, Cp932AliasesOfRealJapaneseFilesAreAccepted)
{
    for (const char* name : {"Windows-31J", "x-sjis", "MS932", "MS_Kanji", "csShiftJIS"}) {
        const std::string declaration = std::string("<?xml version=\"1.0\" encoding=\"") + name + "\"?>";
        FileParse parsed = parseFile(writeFile("alias.xml", declaration + "<p>\x91\x90\x81\x5C</p>"));
        ASSERT_NE(parsed.document, nullptr) << name << ": " << parsed.report;
        EXPECT_EQ(dumpRoot(parsed.document.get()).substr(0, 4), u"p{'\x8349") << name;
    }
}

TEST(ParseXMLFileTest, InvalidUtf8IsAFatalError)
{
    // Regression: malformed UTF-8 became U+FFFD and the document passed.
    // The report gives the line and the offset of the first bad byte in the
    // file (an overlong form would also have hidden markup).
    const struct {
        const char* name;
        std::string bytes;
        const char* report;
    } cases[] = {
        {"overlong.xml", "<r a=\"x\xC0\xA2 b=\xC0\xA2y\">\xC0\xBC" "b/\xC0\xBE</r>",
         "ERROR:174: invalid UTF-8 byte sequence at line 1, byte offset 7\n"},
        {"stray.xml", "\xEF\xBB\xBF<r>\n<p>本\x80</p></r>", "ERROR:174: invalid UTF-8 byte sequence at line 2, byte offset 13\n"},
        {"cut.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\xE6\x9C</r>",
         "ERROR:174: invalid UTF-8 byte sequence at line 2, byte offset 42\n"},
        {"surrogate.xml", "<r>\xED\xA0\x80</r>", "ERROR:174: invalid UTF-8 byte sequence at line 1, byte offset 3\n"},
    };
    for (const auto& c : cases) {
        FileParse parsed = parseFile(writeFile(c.name, c.bytes));
        EXPECT_EQ(parsed.document, nullptr) << c.name;
        EXPECT_EQ(parsed.report, c.report) << c.name;
    }
}

TEST(ParseXMLFileTest, CharactersOutsideXmlAreRefused)
{
    // Regression: raw U+0001 and U+0002 passed, and the serializer then
    // wrote them as the reference markers' & and ; (x\x01lt\x02y became
    // x&lt;y). Every encoding is checked after decoding.
    const struct {
        const char* name;
        std::string bytes;
        const char* position;
    } cases[] = {
        {"marker.xml", "<r>x\x01lt\x02y</r>", "line 1, column 5"},
        {"control.xml", "<r>\n\t本\x1B</r>", "line 2, column 3"},
        {"ffff.xml", "<r>\xEF\xBF\xBF</r>", "line 1, column 4"},
        {"fffe-attribute.xml", "<r a='\xEF\xBF\xBE'/>", "line 1, column 7"},
        {"utf16-lone-surrogate.xml", std::string("\xFF\xFE<\0r\0>\0\x00\xD8<\0/\0r\0>\0", 18), "line 1, column 4"},
    };
    for (const auto& c : cases) {
        FileParse parsed = parseFile(writeFile(c.name, c.bytes));
        EXPECT_EQ(parsed.document, nullptr) << c.name;
        EXPECT_EQ(parsed.report, std::string("ERROR:175: a character XML does not allow at ") + c.position + "\n") << c.name;
    }
    // Tab, line feed, carriage return and characters beyond the basic plane are characters.
    FileParse parsed = parseFile(writeFile("fine.xml", "<r>\t\r\n\xF0\xA0\x80\x8B\xEF\xBF\xBD</r>"));
    EXPECT_NE(parsed.document, nullptr) << parsed.report;
}


TEST(ParseXMLFileTest, GrammarErrorsAreReportedFromFilesToo)
{
    FileParse parsed = parseFile(writeFile("broken.xml", "<?xml version=\"1.0\"?><!-- no root -->"));
    EXPECT_EQ(parsed.document, nullptr);
    EXPECT_EQ(parsed.report, "ERROR:112: can't find the top element.\n");
}

// The text of the root element's first child.
std::u16string rootText(const Document* document)
{
    const Node* text = XmlTest::rootElement(document)->getFirstChild();
    return text ? S(text->getNodeValue()) : u"(none)";
}

TEST(ParseXMLFileTest, LargeDocumentsDecodeWhole)
{
    // Much more than any read or decoding block, with characters above U+FFFF
    // at every alignment.
    std::u16string text;
    std::string utf8 = "<r>";
    const std::pair<std::u16string, std::string> pieces[] = {
        {u"\xD842\xDFB7", "\xF0\xA0\xAE\xB7"}, {u"\x8349" u"a", "\xE8\x8D\x89" "a"}, {u"b\x3000" u"c", "b\xE3\x80\x80" "c"}};
    for (int i = 0; text.size() < 300000; ++i) {
        text += pieces[i % 3].first;
        utf8 += pieces[i % 3].second;
    }
    utf8 += "</r>";
    for (const auto& [name, bytes] : {std::pair<const char*, std::string>{"large-utf8.xml", utf8},
                                      {"large-utf8-mark.xml", "\xEF\xBB\xBF" + utf8},
                                      {"large-utf16le.xml", utf16Bytes(u"<r>" + text + u"</r>", false, true)},
                                      {"large-utf16be.xml", utf16Bytes(u"<?xml version='1.0'?><r>" + text + u"</r>", true, false)}}) {
        FileParse parsed = parseFile(writeFile(name, bytes));
        ASSERT_NE(parsed.document, nullptr) << name << ": " << parsed.report;
        EXPECT_TRUE(rootText(parsed.document.get()) == text) << name;
    }
}

TEST(ParseXMLFileTest, TextReadAndGivenBackInStepsParsesAsFromMemory)
{
    // Several megabytes, so that the file's decoded text is given back in
    // steps while markup, references, sections and long values cross every
    // step's edge; the tree must equal the one parsed from text kept whole.
    std::string utf8 = "<?xml version='1.0'?><r>";
    for (int i = 0; utf8.size() < 6000000; ++i) {
        utf8 += "<p id='p" + std::to_string(i) + "' title='" + std::string(static_cast<size_t>(i % 700), 'v') + "'>";
        utf8 += "\xE8\x8D\x89&amp;&#x3042;<![CDATA[" + std::string(static_cast<size_t>(i % 300), 'c') + "]]><!-- "
              + std::to_string(i) + " --><?pi " + std::string(static_cast<size_t>(i % 50), 'd') + "?>text</p>\n";
    }
    utf8 += "</r>";
    FileParse parsed = parseFile(writeFile("steps.xml", utf8));
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Utf16String text(utf8.c_str());
    const std::unique_ptr<Document> whole(parseXMLText(text.data(), text.length(), 0));
    ASSERT_NE(whole, nullptr);
    EXPECT_TRUE(dumpRoot(parsed.document.get()) == dumpRoot(whole.get()));
}

TEST(ParseXMLFileTest, AFileOfUnknownSizeIsReadWhole)
{
    // A named pipe reports no size: the reader grows its buffer as the data comes.
    const fs::path pipe = scratch() / "pipe.xml";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::string body;
    while (body.size() < 200000)
        body += "\xE8\x8D\x89\xE6\x9E\x95 text ";
    std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << "<r>" << body << "</r>"; });
    FileParse parsed = parseFile(pipe);
    writer.join();
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    EXPECT_EQ(rootText(parsed.document.get()).size(), body.size() / 12 * 8);
}

// Every XML document of the sample book parses with the flags the conversion
// model uses, and holds as many elements as libxml2's reader counts.
TEST(ParseXMLFileCorpusTest, AnAbsentBookFailsWhenTheCorpusIsRequired)
{
    // CI sets ZEF_REQUIRE_CORPUS=1: there a corpus test must not skip.
    const char* before = std::getenv("ZEF_REQUIRE_CORPUS");
    const std::string saved = before ? before : "";
    setenv("ZEF_REQUIRE_CORPUS", "1", 1);
    EXPECT_NONFATAL_FAILURE(zef::test::corpusBook("no-such-book.epub"), "the corpus has no no-such-book.epub");
    setenv("ZEF_REQUIRE_CORPUS", "0", 1);
    EXPECT_EQ(zef::test::corpusBook("no-such-book.epub"), fs::path());
    if (before)
        setenv("ZEF_REQUIRE_CORPUS", saved.c_str(), 1);
    else
        unsetenv("ZEF_REQUIRE_CORPUS");
}

TEST(ParseXMLFileCorpusTest, SampleBookAgreesWithXmllint)
{
    const fs::path book = zef::test::corpusBook("kusamakura.epub");
    if (book.empty())
        GTEST_SKIP() << "no corpus beside " << ZEF_SOURCE_DIR;
    const fs::path dir = scratch() / "kusamakura";
    fs::remove_all(dir);
    const std::string unpack = "python3 -c \"import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])\" '"
        + book.string() + "' '" + dir.string() + "'";
    ASSERT_EQ(std::system(unpack.c_str()), 0);
    int documents = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string extension = entry.path().extension().string();
        const bool xhtml = extension == ".xhtml";
        if (!xhtml && extension != ".opf" && extension != ".xml" && extension != ".ncx")
            continue;
        FileParse parsed = parseFile(entry.path(), xhtml ? XhtmlFlags : PackageFlags);
        ASSERT_NE(parsed.document, nullptr) << entry.path() << ": " << parsed.report;
        Element* root = static_cast<Element*>(XmlTest::rootElement(parsed.document.get()));
        ASSERT_NE(root, nullptr) << entry.path();
        std::unique_ptr<XNodeList> all(root->getElementsByTagName(U(u"*")));
        uint32_t elements = 0;
        for (uint32_t i = 0; i < all->count(); ++i)
            elements += all->atIndex(i)->getNodeType() == Node::ELEMENT_NODE ? 1 : 0;
        const std::string count = "xmllint --xpath 'count(//*)' '" + entry.path().string() + "'";
        FILE* pipe = popen(count.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char answer[64] = {};
        const size_t got = std::fread(answer, 1, sizeof answer - 1, pipe);
        pclose(pipe);
        EXPECT_EQ(std::to_string(elements) + "\n", std::string(answer, got)) << entry.path();
        ++documents;
    }
    EXPECT_GE(documents, 17);
}

TEST(ParseXMLFileTest, ShiftJisDocumentReadsCodePage932Characters)
{
    // Regression: ①, 髙 and 﨑, which the Shift_JIS table lacks, became
    // U+FFFF. The label reads as code page 932 for them; the codes Shift_JIS
    // maps keep its mapping.
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>";
    FileParse parsed = parseFile(writeFile("cp932.xml", declaration + "<r>\x87\x40\xFB\xFC\xFA\xB1\x82\xA0\x81\x5F\xB1</r>"));
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    EXPECT_EQ(rootText(parsed.document.get()), u"①髙﨑あ＼ｱ");
    parsed = parseFile(writeFile("sjis-alias.xml", "<?xml version='1.0' encoding='MS_Kanji'?><r>\x87\x40</r>"));
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    EXPECT_EQ(rootText(parsed.document.get()), u"①");

    // A code neither table maps is an error at its first byte.
    for (const std::string& bad : {std::string("\x85\x40"), std::string("\xA0"), std::string("\x82\x0A"),
                                   std::string("\xFF\xFF")}) {
        parsed = parseFile(writeFile("unmapped.xml", declaration + "\n<r>\x82\xA0" + bad + "</r>"));
        EXPECT_EQ(parsed.document, nullptr);
        EXPECT_EQ(parsed.report, "ERROR:176: a byte pair neither Shift_JIS nor code page 932 maps at line 2, byte offset 48\n");
    }
    parsed = parseFile(writeFile("cut.xml", declaration + "<r/>\x82"));
    EXPECT_EQ(parsed.report, "ERROR:176: a byte pair neither Shift_JIS nor code page 932 maps at line 1, byte offset 46\n");
}
