#include "kiln/file/RegularFile.h"

#include "kiln/base/PathString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace KILN;

namespace {

PathString pathOf(const fs::path& path)
{
    PathString text;
    text.assignUtf8(path.c_str());
    return text;
}

class RegularFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "RegularFileTest.XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path file(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
        return m_folder / name;
    }

    fs::path m_folder;
};

} // namespace

TEST_F(RegularFileTest, ReadsWholeFilesOfEverySizeUpToTheLimit)
{
    for (const size_t size : {size_t{0}, size_t{1}, size_t{4096}, size_t{300001}}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 + i / 251);
        const fs::path path = file("f" + std::to_string(size), bytes);
        std::string read = "left over";
        EXPECT_EQ(readRegularFile(pathOf(path), read, size), FileRead::Read) << size;
        EXPECT_TRUE(read == bytes) << size;
        if (size > 0) {
            EXPECT_EQ(readRegularFile(pathOf(path), read, size - 1), FileRead::Failed) << "beyond the limit";
            EXPECT_TRUE(read.empty());
        }
    }
}

TEST_F(RegularFileTest, APathWithoutANativeNameNamesNothing)
{
    const fs::path path = file("x", "bytes");
    PathString zero = pathOf(path);
    zero.append(static_cast<unsigned short>(0));
    std::string read;
    EXPECT_EQ(readRegularFile(zero, read, 100), FileRead::NotRegular);
    PathString lone = pathOf(m_folder);
    lone.append(static_cast<unsigned short>('/'));
    lone.append(static_cast<unsigned short>(0xD800));
    EXPECT_EQ(readRegularFile(lone, read, 100), FileRead::NotRegular);
}
