#include "kiln/file/FileIFlow.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <fstream>
#include <string>

#include <unistd.h>

using namespace KILN;

namespace {

constexpr const char* Module = "kiln/file/FileIFlow";

// A file in the build tree holding the bytes given, removed at the end.
class TempFile {
public:
    explicit TempFile(const std::string& bytes)
        : m_path(std::string(ZEF_BINARY_DIR) + "/FileIFlowTest." + std::to_string(getpid()))
    {
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    const char* path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

} // namespace

TEST(FileIFlowTest, ThreeByteFileGivesOneSixteenBitUnitThenEndOfInput)
{
    TempFile file(std::string("\x01\x02\x03", 3));
    FileIFlow flow(file.path());
    ASSERT_TRUE(flow.isOpen());
    EXPECT_EQ(flow.widths(), 7u);
    EXPECT_EQ(flow.read16(), 0x0201);
    EXPECT_IO_EXCEPTION(flow.read16(), IOException::EndOfInput, Module);
}

TEST(FileIFlowTest, BlockReadsAndUnitReadsAgree)
{
    TempFile file(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9));
    FileIFlow flow(file.path());
    EXPECT_EQ(flow.read32(), 0x04030201u);
    uint16_t block[4] = {};
    uint32_t got = 0;
    EXPECT_IO_EXCEPTION(flow.readBlock16(4, block, got), IOException::EndOfInput, Module);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(block[0], 0x0605);
    EXPECT_EQ(block[1], 0x0807);
}

TEST(FileIFlowTest, MissingFileAndClosedFlow)
{
    FileIFlow missing("/nonexistent/dir/file");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_IO_EXCEPTION(missing.read8(), IOException::NotOpen, Module);

    TempFile file("x");
    FileIFlow flow(file.path());
    EXPECT_TRUE(flow.close());
    EXPECT_FALSE(flow.close());
    EXPECT_IO_EXCEPTION(flow.read8(), IOException::NotOpen, Module);
}

TEST(FileIFlowTest, ReadErrorIsNotEndOfInput)
{
    // Reading a directory fails with an error, not with the end of the file.
    std::FILE* directory = std::fopen("/", "rb");
    ASSERT_NE(directory, nullptr);
    FileIFlow flow(directory, false);
    EXPECT_IO_EXCEPTION(flow.read8(), IOException::FileError, Module);
}

TEST(FileIFlowTest, LentFileStaysOpen)
{
    TempFile file("ab");
    std::FILE* handle = std::fopen(file.path(), "rb");
    ASSERT_NE(handle, nullptr);
    {
        FileIFlow flow(handle, true);
        EXPECT_EQ(flow.read8(), 'a');
    }
    EXPECT_EQ(std::fgetc(handle), 'b');
    std::fclose(handle);
}
