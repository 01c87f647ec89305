#include "model/WorkDirectory.h"

#include "kiln/base/Utf8String.h"
#include "model/ZephraModelError.h"
#include "tests/model/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>

using zef::test::ScratchFolder;
using zef::test::toPath;
using zef::test::writeFile;
namespace fs = std::filesystem;

namespace {

std::string utf8(const KILN::PathString& path)
{
    KILN::Utf8String text(path);
    return std::string(text.zeroTerminated(), text.length());
}

// Points TMPDIR at a folder of the test's own and restores it afterwards.
class WorkDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* saved = std::getenv("TMPDIR"))
            m_saved = saved;
        setenv("TMPDIR", scratch.path().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_saved)
            setenv("TMPDIR", m_saved->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

    ScratchFolder scratch;

private:
    std::optional<std::string> m_saved;
};

TEST_F(WorkDirectoryTest, MakesAPrivateFolder)
{
    setenv("TMPDIR", (scratch.path().string() + "/").c_str(), 1);
    const KILN::PathString made = createWorkDirectory();
    EXPECT_EQ(utf8(made), (scratch / "zef.0").string());
    struct stat st;
    ASSERT_EQ(lstat((scratch / "zef.0").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // The next conversion gets its own.
    EXPECT_EQ(utf8(createWorkDirectory()), (scratch / "zef.1").string());
}

TEST_F(WorkDirectoryTest, MissingTemporaryFolderIsNotCreated)
{
    // Regression: a missing $TMPDIR was made with all its parents and left.
    writeFile(scratch / "plain", "a file, not a folder");
    for (const fs::path& named : {scratch / "a" / "b", scratch / "plain"}) {
        setenv("TMPDIR", named.c_str(), 1);
        const KILN::PathString made = createWorkDirectory();
        EXPECT_EQ(utf8(made).rfind("/tmp/zef.", 0), 0u) << utf8(made);
        removeWorkDirectory(made);
    }
    EXPECT_FALSE(fs::exists(scratch / "a"));
    EXPECT_EQ(zef::test::readFile(scratch / "plain"), "a file, not a folder");
}

TEST_F(WorkDirectoryTest, PassesOverNamesThatAreTakenEvenByFolders)
{
    writeFile(scratch / "zef.0", "someone's file");
    fs::create_directory(scratch / "zef.1");
    writeFile(scratch / "zef.1" / "inside", "someone's data");
    fs::create_symlink(scratch / "zef.1", scratch / "zef.2");
    EXPECT_EQ(utf8(createWorkDirectory()), (scratch / "zef.3").string());
    EXPECT_EQ(zef::test::readFile(scratch / "zef.0"), "someone's file");
    EXPECT_EQ(zef::test::readFile(scratch / "zef.1" / "inside"), "someone's data");
}

TEST_F(WorkDirectoryTest, FailsWithErrorOneWhenNoNameCanBeMade)
{
    for (int i = 0; i < 10000; ++i)
        writeFile(scratch / ("zef." + std::to_string(i)), "");
    try {
        createWorkDirectory();
        FAIL() << "all names are taken";
    } catch (const ZephraModelError& error) {
        EXPECT_EQ(error.number(), 1);
        EXPECT_STREQ(error.text(), "Can't create temporary directory.");
    }
    EXPECT_FALSE(fs::exists(scratch / "zef.10000"));
}

TEST_F(WorkDirectoryTest, RemovalTakesTheTreeButNotWhatLinksPointTo)
{
    const KILN::PathString made = createWorkDirectory();
    writeFile(scratch / "zef.0" / "OPS" / "xhtml" / "一.xhtml", "text");
    writeFile(scratch / "outside" / "keep.txt", "keep");
    fs::create_directory_symlink(scratch / "outside", scratch / "zef.0" / "OPS" / "link");
    removeWorkDirectory(made);
    EXPECT_FALSE(fs::exists(scratch / "zef.0"));
    EXPECT_EQ(zef::test::readFile(scratch / "outside" / "keep.txt"), "keep");

    try {
        removeWorkDirectory(made);
        FAIL() << "the folder is gone";
    } catch (const ZephraModelError& error) {
        EXPECT_EQ(error.number(), 2);
        EXPECT_EQ(std::string(error.text()), "Can't remove temporary directory. " + (scratch / "zef.0").string());
    }
}

} // namespace
