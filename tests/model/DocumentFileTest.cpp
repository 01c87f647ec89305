#include "model/DocumentFile.h"

#include "support/BookFiles.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>

#include <sys/resource.h>

using namespace zef::test;

namespace {

const std::string mark = "\xEF\xBB\xBF";

// A book page of about the size given: Japanese text with characters above
// U+FFFF, so that pairs fall on every boundary of the writer's buffer.
std::string largePage(size_t bytes)
{
    std::string page = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<html><body>";
    for (int i = 0; page.size() < bytes; ++i)
        page += "<p id=\"p" + std::to_string(i) + "\">\xE8\x8D\x89\xE6\x9E\x95 &amp; \xF0\xA0\xAE\xB7\xE9\x87\x8E</p>\r\n";
    return page + "</body></html>";
}

// Lowers the limit of the size of files this process writes for its lifetime;
// a write beyond it fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_saved{};
    void (*m_signal)(int);
};

} // namespace

TEST(DocumentFile, LargeDocumentsAreWrittenWhole)
{
    const fs::path folder = freshFolder("large");
    const std::string page = largePage(1 << 20);
    writeBytes(folder / "page.xhtml", page);
    std::unique_ptr<KILN::Document> document = readDocument(pathString(folder / "page.xhtml"), ContentParseFlags);
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(writeDocument(pathString(folder / "page.xhtml"), *document), WriteResult::Done);
    std::string expected = page;
    expected.replace(expected.find("utf-8\"?>"), 8, "UTF-8\" ?>");
    EXPECT_TRUE(readBytes(folder / "page.xhtml") == mark + expected);
}

TEST(DocumentFile, ALoneSurrogateIsRefused)
{
    // A UTF-16 file may hold halves of pairs alone: no XML characters, so
    // the document is refused rather than written with replacements.
    const fs::path file = freshFolder("surrogate") / "package.opf";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : std::u16string(u"<package>\xD842|\xDFB7</package>"))
        utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    writeBytes(file, utf16);
    EXPECT_EQ(readDocument(pathString(file), PackageParseFlags), nullptr);
    EXPECT_EQ(readBytes(file), utf16);
}

TEST(DocumentFile, AWriteFailureInTheMiddleLeavesTheFileAsItWas)
{
    const fs::path folder = freshFolder("failure");
    writeBytes(folder / "source.xhtml", largePage(1 << 20));
    writeBytes(folder / "page.xhtml", "old");
    std::unique_ptr<KILN::Document> document = readDocument(pathString(folder / "source.xhtml"), ContentParseFlags);
    ASSERT_NE(document, nullptr);
    {
        // Room for a few buffers of the writer, not for the document.
        const FileSizeLimit limit(256 * 1024);
        EXPECT_EQ(writeDocument(pathString(folder / "page.xhtml"), *document), WriteResult::WriteFailed);
    }
    EXPECT_EQ(readBytes(folder / "page.xhtml"), "old");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST(DocumentFile, AReadTellsNoFileFromAFileThatDoesNotParse)
{
    const fs::path folder = freshFolder("kinds");
    writeBytes(folder / "good.xhtml", "<html><body><p>x</p></body></html>");
    writeBytes(folder / "bad.xhtml", "<html><body>");
    writeBytes(folder / "empty.xhtml", "");
    fs::create_symlink("good.xhtml", folder / "link.xhtml");
    fs::create_symlink("gone.xhtml", folder / "dangling.xhtml");
    fs::create_directory(folder / "folder.xhtml");
    ASSERT_EQ(mkfifo((folder / "fifo.xhtml").c_str(), 0600), 0);
    const struct {
        const char* name;
        ReadResult expected;
    } cases[] = {
        {"good.xhtml", ReadResult::Parsed},
        {"link.xhtml", ReadResult::Parsed}, // a link to a regular file is followed
        {"bad.xhtml", ReadResult::NotParsed},
        {"empty.xhtml", ReadResult::NotParsed},
        {"missing.xhtml", ReadResult::NoRegularFile},
        {"dangling.xhtml", ReadResult::NoRegularFile},
        {"folder.xhtml", ReadResult::NoRegularFile},
        {"fifo.xhtml", ReadResult::NoRegularFile}, // refused without waiting for a writer
    };
    for (const auto& c : cases) {
        KILN::XMLParseReport report;
        std::unique_ptr<KILN::Document> document;
        EXPECT_EQ(readDocument(pathString(folder / c.name), ContentParseFlags, report, document), c.expected) << c.name;
        EXPECT_EQ(document != nullptr, c.expected == ReadResult::Parsed) << c.name;
    }
    KILN::XMLParseReport report;
    std::unique_ptr<KILN::Document> document;
    readDocument(pathString(folder / "bad.xhtml"), ContentParseFlags, report, document);
    EXPECT_NE(report.code, 0) << "the grammar error is reported";
}
