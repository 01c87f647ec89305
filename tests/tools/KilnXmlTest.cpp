// kiln-xml end to end: documents written back by the library must have the
// same canonical form as the originals, as libxml2's xmllint computes it.

#include "tests/support/Corpus.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string tool = ZEF_BINARY_DIR "/tools/kiln-xml";
const fs::path documents = ZEF_SOURCE_DIR "/tests/data/xml";

struct Flags {
    const char* parse;
    const char* output;
};

// Expanded references; remembered and kept end-tag forms; the conversion
// model's XHTML reading with references marked and written back in entity
// mode (without keeping them verbatim, which the serializer would escape).
const Flags flagSets[] = {{"0", "0"}, {"0x1000", "0x28"}, {"0x2E06", "4"}};

// Documents that hold character references to white space survive only
// with their references marked: written as themselves, a conforming reader
// normalises them.
bool needsMarkedReferences(const fs::path& document)
{
    return document.filename() == "whitespace-references.xml";
}

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::string contentsOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class KilnXmlTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kiln_xml_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    struct Result {
        int status;
        std::string out;
        std::string err;
    };

    // Runs a shell command; its exit status and what it wrote.
    Result run(const std::string& command)
    {
        const fs::path out = m_dir / "stdout";
        const fs::path err = m_dir / "stderr";
        const int raw = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, contentsOf(out), contentsOf(err)};
    }

    Result kilnXml(const std::string& arguments) { return run(tool + " " + arguments); }

    std::string canonical(const fs::path& document)
    {
        const Result result = run("xmllint --c14n " + quoted(document));
        EXPECT_EQ(result.status, 0) << document << ": " << result.err;
        return result.out;
    }

    // Writes document back with each set of flags and compares the
    // canonical forms.
    void expectRoundTrip(const fs::path& document)
    {
        const std::string expected = canonical(document);
        ASSERT_FALSE(expected.empty()) << document;
        for (const Flags& flags : flagSets) {
            if (needsMarkedReferences(document) && std::string(flags.parse) != "0x2E06")
                continue;
            const fs::path written = m_dir / "written.xml";
            const Result result = kilnXml(std::string("--parse-flags ") + flags.parse + " --output-flags " +
                                          flags.output + " " + quoted(document) + " " + quoted(written));
            ASSERT_EQ(result.status, 0) << document << ": " << result.err;
            EXPECT_EQ(canonical(written), expected) << document << " with " << flags.parse << "/" << flags.output;
        }
    }

    fs::path m_dir;
};

} // namespace

TEST_F(KilnXmlTest, DocumentsKeepTheirCanonicalForm)
{
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(documents)) {
        expectRoundTrip(entry.path());
        ++count;
    }
    EXPECT_GE(count, 10);
}

TEST_F(KilnXmlTest, CorpusContentDocumentsKeepTheirCanonicalForm)
{
    const fs::path corpus = zef::test::corpusBook("kusamakura.epub");
    if (corpus.empty())
        GTEST_SKIP() << "no corpus";
    const Result unpacked = run("unzip -q -o " + quoted(corpus) + " 'OPS/*.xhtml' 'OPS/*.opf' -d " + quoted(m_dir / "book"));
    ASSERT_EQ(unpacked.status, 0) << unpacked.err;
    int count = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(m_dir / "book")) {
        if (entry.is_regular_file()) {
            expectRoundTrip(entry.path());
            ++count;
        }
    }
    EXPECT_GE(count, 17);
}

TEST_F(KilnXmlTest, WritesUtf8AndSaysSo)
{
    // Without an output path the text goes to standard output, as UTF-8
    // whatever the input was, and its declaration names UTF-8.
    const Result sjis = kilnXml(quoted(documents / "shift_jis.xml"));
    ASSERT_EQ(sjis.status, 0) << sjis.err;
    EXPECT_EQ(sjis.out.substr(0, 45), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<doc>");
    EXPECT_NE(sjis.out.find("山路を登りながら"), std::string::npos);
    const Result utf16 = kilnXml("--output-flags 0x10 " + quoted(documents / "utf16le-bom.xml"));
    ASSERT_EQ(utf16.status, 0) << utf16.err;
    EXPECT_EQ(utf16.out.substr(0, 38), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    EXPECT_NE(utf16.out.find("𠮷野家"), std::string::npos);
}

TEST_F(KilnXmlTest, FlagsInDecimalOrHexadecimal)
{
    const fs::path input = m_dir / "in.xml";
    std::ofstream(input) << "<a><b></b></a>";
    EXPECT_EQ(kilnXml("--output-flags 8 " + quoted(input)).out, "<a><b /></a>");
    EXPECT_EQ(kilnXml("--output-flags 0x8 " + quoted(input)).out, "<a><b /></a>");
    EXPECT_EQ(kilnXml("--parse-flags 0x1000 --output-flags 32 " + quoted(input)).out, "<a><b></b></a>");
    EXPECT_EQ(kilnXml("--parse-flags 4096 --output-flags 0X20 " + quoted(input)).out, "<a><b></b></a>");
}

TEST_F(KilnXmlTest, BadInputGivesTheParsersMessageAndNoOutput)
{
    const fs::path input = m_dir / "bad.xml";
    const fs::path output = m_dir / "out.xml";
    std::ofstream(input) << "<?xml version='1.0'?><!-- only a comment -->";
    const Result result = kilnXml(quoted(input) + " " + quoted(output));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.substr(0, 38), "ERROR:112: can't find the top element.");
    EXPECT_FALSE(fs::exists(output));

    const Result missing = kilnXml(quoted(m_dir / "missing.xml"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());
}

TEST_F(KilnXmlTest, AFailedWriteLeavesTheTargetAlone)
{
    const fs::path input = m_dir / "in.xml";
    std::ofstream(input) << "<a/>";
    const Result result = kilnXml(quoted(input) + " " + quoted(m_dir / "no" / "such" / "dir.xml"));
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("cannot write"), std::string::npos) << result.err;
    // Writing a document over itself replaces it only once it is complete.
    const Result inPlace = kilnXml("--output-flags 8 " + quoted(input) + " " + quoted(input));
    EXPECT_EQ(inPlace.status, 0) << inPlace.err;
    EXPECT_EQ(contentsOf(input), "<a />");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 3);  // in, stdout, stderr
}

TEST_F(KilnXmlTest, AWriteErrorInTheMiddleFailsAndLeavesNoPartialFile)
{
    // Output far larger than the writer's buffer, which fails after some of
    // it was written.
    const fs::path input = m_dir / "in.xml";
    std::string text = "<a>";
    while (text.size() < (1 << 20))
        text += "<p>\xE8\x8D\x89\xE6\x9E\x95 \xF0\xA0\xAE\xB7</p>\n";
    std::ofstream(input) << text << "</a>";
    const fs::path output = m_dir / "out.xml";
    std::ofstream(output) << "old";
    // The shell lowers the size limit of the files the tool writes, and
    // ignores the signal that would otherwise end it at the limit.
    const Result limited = run("trap '' XFSZ; ulimit -f 256; " + tool + " " + quoted(input) + " " + quoted(output));
    EXPECT_EQ(limited.status, 3);
    EXPECT_NE(limited.err.find("cannot write"), std::string::npos) << limited.err;
    EXPECT_EQ(contentsOf(output), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 4);  // in, out, stdout, stderr

    const Result full = kilnXml(quoted(input) + " /dev/full");
    EXPECT_EQ(full.status, 3);
    EXPECT_NE(full.err.find("cannot write /dev/full"), std::string::npos) << full.err;
}

TEST_F(KilnXmlTest, DeviceOutputIsWrittenThroughNotReplaced)
{
    // Regression: the temporary file was renamed over any output, so a link
    // to /dev/null (or, as root, /dev/null itself) became a regular file.
    const fs::path input = m_dir / "in.xml";
    std::ofstream(input) << "<a/>";
    fs::create_symlink("/dev/null", m_dir / "null");
    const Result toNull = kilnXml(quoted(input) + " " + quoted(m_dir / "null"));
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    EXPECT_TRUE(fs::is_symlink(m_dir / "null"));
    EXPECT_TRUE(fs::is_character_file(m_dir / "null"));
    const Result toStdout = kilnXml(quoted(input) + " /dev/stdout");
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, kilnXml(quoted(input)).out);
    EXPECT_NE(toStdout.out.find("<a"), std::string::npos);
    fs::create_symlink("/dev/full", m_dir / "full");
    const Result toFull = kilnXml(quoted(input) + " " + quoted(m_dir / "full"));
    EXPECT_EQ(toFull.status, 3);
    EXPECT_TRUE(fs::is_symlink(m_dir / "full"));
}

TEST_F(KilnXmlTest, UsageErrors)
{
    const char* const wrong[] = {"", "--parse-flags", "--parse-flags x1 a.xml", "--output-flags -1 a.xml",
                                 "--output-flags 0x a.xml", "--output-flags ' 8' a.xml", "--verbose a.xml", "a.xml b.xml c.xml"};
    for (const char* arguments : wrong) {
        const Result result = kilnXml(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find("usage: kiln-xml [--parse-flags N] [--output-flags N] input [output]"),
                  std::string::npos)
            << arguments;
    }
}
