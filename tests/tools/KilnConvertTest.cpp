// kiln-convert as a black box: files and standard streams, detection, errors.
#include <gtest/gtest.h>

#include "tests/support/BoundedMemory.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class KilnConvertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("kiln-convert-test-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const char* name) const { return (m_dir / name).string(); }

    static void write(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Runs the tool with arguments (a shell fragment); answers its exit status
    // and keeps standard error in m_error.
    int run(const std::string& arguments)
    {
        const std::string errors = path("stderr");
        const std::string command = std::string(ZEF_BINARY_DIR) + "/tools/kiln-convert " + arguments + " 2>" + errors;
        const int status = std::system(command.c_str());
        m_error = read(errors);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path m_dir;
    std::string m_error;
};

const std::string japanese = "\xE5\x90\xBE\xE8\xBC\xA9\xE3\x81\xAF\xE7\x8C\xAB\xE3\x81\xA7\xE3\x81\x82\xE3\x82\x8B\xE3\x80\x82\n";
const std::string japaneseCp932 = "\x8C\xE1\x94\x79\x82\xCD\x94\x4C\x82\xC5\x82\xA0\x82\xE9\x81\x42\n";

} // namespace

TEST_F(KilnConvertTest, ConvertsFilesAndStreams)
{
    write(path("in.txt"), japanese);
    ASSERT_EQ(run("-f utf-8 -t cp932 " + path("in.txt") + " " + path("out.txt")), 0) << m_error;
    EXPECT_EQ(read(path("out.txt")), japaneseCp932);
    EXPECT_EQ(m_error, "");
    // Standard input to standard output, names in any case, back to UTF-8 with a mark.
    ASSERT_EQ(run("-t UTF-8 -f MS932 < " + path("out.txt") + " > " + path("back.txt")), 0) << m_error;
    EXPECT_EQ(read(path("back.txt")), "\xEF\xBB\xBF" + japanese);
    ASSERT_EQ(run("-f utf-8 -t utf-16be - " + path("be.txt") + " < " + path("in.txt")), 0) << m_error;
    EXPECT_EQ(read(path("be.txt")).substr(0, 4), "\x54\x3E\x8F\x29");
}

// A regular file is converted as it is read, so its size is no promise: a
// large file streams whole, and one that says it is empty (as files under
// /proc do) is read to its end like standard input.
TEST_F(KilnConvertTest, StreamedFilesAreConvertedWhole)
{
    std::string large;
    while (large.size() < 300000)
        large += japanese;
    write(path("large.txt"), large);
    ASSERT_EQ(run("-f utf-8 -t cp932 " + path("large.txt") + " " + path("large.cp932")), 0) << m_error;
    const std::string cp932 = read(path("large.cp932"));
    ASSERT_EQ(cp932.size(), large.size() / japanese.size() * japaneseCp932.size());
    EXPECT_EQ(cp932.substr(cp932.size() - japaneseCp932.size()), japaneseCp932);

    ASSERT_EQ(run("-f utf-8n -t utf-16le /proc/self/status " + path("status.txt")), 0) << m_error;
    const std::string status = read(path("status.txt"));
    EXPECT_GT(status.size(), 100u);
    EXPECT_EQ(status.substr(0, 10), std::string("N\0a\0m\0e\0:\0", 10));
}

TEST_F(KilnConvertTest, DetectsTheInputEncoding)
{
    write(path("sjis.txt"), japaneseCp932);
    ASSERT_EQ(run("-f ja-auto -t utf-8n " + path("sjis.txt") + " " + path("out.txt")), 0) << m_error;
    EXPECT_EQ(read(path("out.txt")), japanese);

    const std::string declaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<p>";
    write(path("doc.xml"), declaration + japaneseCp932 + "</p>\n");
    ASSERT_EQ(run("-f xml-detector -t utf-8n " + path("doc.xml") + " " + path("xml.txt")), 0) << m_error;
    EXPECT_EQ(read(path("xml.txt")), declaration + japanese + "</p>\n");

    const std::string head = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\"></head><body>";
    write(path("page.html"), head + "\xB8\xE3\xC7\xDA</body></html>");
    ASSERT_EQ(run("-f html-detector -t utf-8n " + path("page.html") + " " + path("html.txt")), 0) << m_error;
    EXPECT_EQ(read(path("html.txt")), head + "\xE5\x90\xBE\xE8\xBC\xA9</body></html>");
}

TEST_F(KilnConvertTest, FailuresAreOneLineAndLeaveNoOutput)
{
    write(path("in.txt"), japanese);
    EXPECT_EQ(run("-f utf-8 -t klingon " + path("in.txt") + " " + path("out.txt")), 1);
    EXPECT_EQ(m_error, "kiln-convert: unknown encoding: klingon\n");
    EXPECT_EQ(run("-f utf-8 -t xml-detector " + path("in.txt") + " " + path("out.txt")), 1);
    EXPECT_EQ(m_error, "kiln-convert: no conversion from utf-8 to xml-detector\n");
    // An odd number of bytes is no UTF-16 text.
    write(path("odd.txt"), "abc");
    EXPECT_EQ(run("-f utf-16le -t utf-8 " + path("odd.txt") + " " + path("out.txt")), 1);
    EXPECT_EQ(m_error, "kiln-convert: input ends inside a 16-bit unit\n");
    EXPECT_EQ(run("-f utf-8 -t utf-16 " + path("missing.txt") + " " + path("out.txt")), 1);
    EXPECT_EQ(m_error.substr(0, 26), "kiln-convert: cannot open ");
    EXPECT_FALSE(fs::exists(path("out.txt")));
    EXPECT_EQ(run("-f utf-8 " + path("in.txt")), 2);
    EXPECT_EQ(m_error, "usage: kiln-convert -f FROM -t TO [input [output]]\n");
    EXPECT_EQ(run("-f utf-8 -t utf-16 -x " + path("in.txt")), 2);
}

TEST_F(KilnConvertTest, FailedWriteNeverRemovesADeviceOrALink)
{
    // Regression: the output path was removed after any write failure; a
    // link to /dev/full went, and as root /dev/stdout itself.
    write(path("in.txt"), japanese);
    fs::create_symlink("/dev/full", path("full"));
    EXPECT_EQ(run("-f utf-8 -t cp932 " + path("in.txt") + " " + path("full")), 1);
    EXPECT_EQ(m_error, "kiln-convert: cannot write " + path("full") + "\n");
    EXPECT_TRUE(fs::is_symlink(path("full")));
    EXPECT_EQ(run("-f utf-8 -t cp932 " + path("in.txt") + " /dev/full"), 1);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    // A device is written through, never replaced by a file.
    fs::create_symlink("/dev/null", path("null"));
    EXPECT_EQ(run("-f utf-8 -t cp932 " + path("in.txt") + " " + path("null")), 0) << m_error;
    EXPECT_TRUE(fs::is_symlink(path("null")));
    EXPECT_TRUE(fs::is_character_file(path("null")));
    EXPECT_EQ(run("-f utf-8 -t cp932 " + path("in.txt") + " /dev/stdout >" + path("piped.txt")), 0) << m_error;
    EXPECT_EQ(read(path("piped.txt")), japaneseCp932);
}

TEST_F(KilnConvertTest, OutputFileIsReplacedOnlyWhenComplete)
{
    write(path("in.txt"), japanese);
    write(path("out.txt"), "old");
    fs::permissions(path("out.txt"), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("out.txt", path("link.txt"));
    EXPECT_EQ(run("-f utf-8 -t cp932 " + path("in.txt") + " " + path("link.txt")), 0) << m_error;
    EXPECT_TRUE(fs::is_symlink(path("link.txt")));
    EXPECT_EQ(read(path("out.txt")), japaneseCp932);
    // A conversion over its own input reads it whole first.
    EXPECT_EQ(run("-f cp932 -t utf-8n " + path("out.txt") + " " + path("out.txt")), 0) << m_error;
    EXPECT_EQ(read(path("out.txt")), japanese);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 4);  // no leftovers
}

TEST_F(KilnConvertTest, EndlessInputIsAnErrorNotACrash)
{
    // Regression: /dev/zero ended in an uncaught std::bad_alloc (status 134).
    if (!zef::test::memoryCanBeBounded())
        GTEST_SKIP() << "memory cannot be bounded under AddressSanitizer";
    const std::string errors = path("stderr");
    const std::string command = zef::test::boundedMemoryPrefix() + ZEF_BINARY_DIR "/tools/kiln-convert -f utf-8 -t cp932 /dev/zero "
        + path("out.txt") + " 2>" + errors;
    const int status = std::system(("/bin/sh -c '" + command + "'").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(read(errors), "kiln-convert: not enough memory for the input\n");
    EXPECT_FALSE(fs::exists(path("out.txt")));
}
