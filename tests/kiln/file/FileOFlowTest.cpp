#include "kiln/base/PathString.h"
#include "kiln/file/FileIFlow.h"
#include "kiln/file/FileOFlow.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include <unistd.h>

using namespace KILN;

namespace {

constexpr const char* Module = "kiln/file/FileOFlow";

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

} // namespace

TEST(FileOFlowTest, WritesEveryWidthLittleEndian)
{
    const std::string path = std::string(ZEF_BINARY_DIR) + "/FileOFlowTest." + std::to_string(getpid());
    {
        FileOFlow flow(path.c_str());
        ASSERT_TRUE(flow.isOpen());
        flow.write8('a');
        flow.write16(0x0201);
        flow.write32(0x06050403);
        EXPECT_TRUE(flow.writeZ8("bc"));
        EXPECT_TRUE(flow.close());
        EXPECT_IO_EXCEPTION(flow.write8(1), IOException::NotOpen, Module);
    }
    EXPECT_EQ(contents(path), std::string("a\x01\x02\x03\x04\x05\x06" "bc", 9));
    std::remove(path.c_str());
}

TEST(FileOFlowTest, UnopenableFileLeavesFlowClosed)
{
    FileOFlow flow("/nonexistent/dir/file");
    EXPECT_FALSE(flow.isOpen());
    EXPECT_IO_EXCEPTION(flow.flush(), IOException::NotOpen, Module);
}

TEST(FileOFlowTest, FullDeviceIsReportedNeverSilenced)
{
    // The bytes fit the stream's buffer, so the failure shows at the latest
    // when the buffer goes to the device: on flush (code 8) or on close.
    FileOFlow flow("/dev/full");
    if (!flow.isOpen())
        GTEST_SKIP() << "/dev/full cannot be opened here";
    bool reported = false;
    try {
        for (int i = 0; i < 100; ++i)
            flow.write8('x');
        flow.flush();
    } catch (const IOException& e) {
        EXPECT_TRUE(e.code() == IOException::ShortWrite || e.code() == IOException::FileError) << e.code();
        EXPECT_STREQ(e.sourceFile(), Module);
        reported = true;
    }
    EXPECT_TRUE(reported);

    // Closing without a flush must report the lost bytes too.
    FileOFlow unflushed("/dev/full");
    ASSERT_TRUE(unflushed.isOpen());
    unflushed.write8('x');
    EXPECT_IO_EXCEPTION(unflushed.close(), IOException::FileError, Module);
    EXPECT_FALSE(unflushed.isOpen());
}

TEST(FileOFlowTest, LargeWriteToFullDeviceIsAShortWrite)
{
    std::FILE* full = std::fopen("/dev/full", "wb");
    if (!full)
        GTEST_SKIP() << "/dev/full cannot be opened here";
    std::setvbuf(full, nullptr, _IONBF, 0);
    FileOFlow flow(full, false);
    const uint8_t bytes[64] = {};
    uint32_t written = 99;
    EXPECT_IO_EXCEPTION(flow.writeBlock8(sizeof bytes, bytes, written), IOException::ShortWrite, Module);
    EXPECT_LT(written, sizeof bytes);
}

TEST(FileOFlowTest, LentFileIsFlushedButLeftOpen)
{
    std::FILE* handle = std::tmpfile();
    ASSERT_NE(handle, nullptr);
    {
        FileOFlow flow(handle, true);
        flow.write8('z');
        EXPECT_TRUE(flow.close());
    }
    std::rewind(handle);
    EXPECT_EQ(std::fgetc(handle), 'z');
    std::fclose(handle);
}

namespace {

// A UTF-16 path: the build folder, a separator and the units of name.
PathString pathIn(std::initializer_list<unsigned short> name)
{
    PathString path;
    for (const char* c = ZEF_BINARY_DIR "/"; *c; ++c)
        path.append(static_cast<unsigned short>(*c));
    for (unsigned short unit : name)
        path.append(unit);
    return path;
}

} // namespace

TEST(FileFlowPathTest, UnicodeNamesRoundTripAndUnnamablePathsStayClosed)
{
    // "ファイル" and U+1F600 as a surrogate pair: written, read back, removed
    // through its UTF-8 name.
    const PathString path = pathIn({0x30D5, 0x30A1, 0x30A4, 0x30EB, 0xD83D, 0xDE00});
    {
        FileOFlow output(path);
        ASSERT_TRUE(output.isOpen());
        output.write8('k');
        EXPECT_TRUE(output.close());
    }
    {
        FileIFlow input(path);
        ASSERT_TRUE(input.isOpen());
        EXPECT_EQ(input.read8(), 'k');
    }
    const std::string utf8 = std::string(ZEF_BINARY_DIR) + "/\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xF0\x9F\x98\x80";
    EXPECT_EQ(contents(utf8), "k");
    std::remove(utf8.c_str());

    // A lone surrogate or a zero unit names no file: nothing is created.
    FileOFlow lone(pathIn({'a', 0xD83D, 'b'}));
    EXPECT_FALSE(lone.isOpen());
    FileOFlow cut(pathIn({'a', 0, 'b'}));
    EXPECT_FALSE(cut.isOpen());
    EXPECT_FALSE(FileIFlow(pathIn({0xDE00})).isOpen());
    EXPECT_EQ(std::ifstream(std::string(ZEF_BINARY_DIR) + "/a").good(), false);
}
