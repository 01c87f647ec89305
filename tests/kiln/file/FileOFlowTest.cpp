#include "kiln/file/FileOFlow.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <fstream>
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
