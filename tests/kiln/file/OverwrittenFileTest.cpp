#include "kiln/file/OverwrittenFile.h"

#include "kiln/base/Utf16String.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class OverwrittenFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/overwritten_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
    }
    void TearDown() override { fs::remove_all(scratch); }

    static KILN::Utf16String pathOf(const fs::path& path) { return KILN::Utf16String(path.c_str()); }
    static std::string content(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static ino_t inode(const fs::path& path)
    {
        struct stat st = {};
        lstat(path.c_str(), &st);
        return st.st_ino;
    }

    fs::path scratch;
};

} // namespace

TEST_F(OverwrittenFileTest, ALongerOrShorterTextTakesTheSameFile)
{
    const fs::path file = scratch / "document.xhtml";
    std::ofstream(file) << "a text longer than the one written over it";
    const ino_t before = inode(file);
    for (const char* text : {"short", "", "and now a text longer than every one before it", "cut"}) {
        KILN::OverwrittenFile output(pathOf(file));
        ASSERT_TRUE(output.open());
        ASSERT_GE(std::fputs(text, output.stream()), 0);
        ASSERT_TRUE(output.commit());
        EXPECT_EQ(text, content(file));
        EXPECT_EQ(before, inode(file));
    }
}

TEST_F(OverwrittenFileTest, NothingButAnExistingRegularFileIsOpened)
{
    const fs::path target = scratch / "target";
    std::ofstream(target) << "kept";
    fs::create_symlink(target, scratch / "link");
    fs::create_directory(scratch / "folder");
    ASSERT_EQ(0, mkfifo((scratch / "fifo").c_str(), 0600));
    for (const char* name : {"link", "folder", "fifo", "missing"}) {
        KILN::OverwrittenFile output(pathOf(scratch / name));
        EXPECT_FALSE(output.open()) << name;
        EXPECT_FALSE(output.commit()) << name;
    }
    EXPECT_EQ("kept", content(target));
    EXPECT_FALSE(fs::exists(scratch / "missing"));
}
