#include "kiln/file/ReplacingFile.h"

#include "kiln/base/PathString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace KILN;
namespace fs = std::filesystem;

namespace {

PathString path(const fs::path& native)
{
    const std::u16string text = native.u16string();
    return PathString(reinterpret_cast<const unsigned short*>(text.data()), text.size());
}

std::string contents(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

bool put(ReplacingFile& file, const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), file.stream()) == text.size();
}

class ReplacingFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kiln-replacing-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // Every name in the scratch folder, sorted, to show that no temporary
    // file stayed behind.
    std::string listing() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(root))
            names.insert(entry.path().filename().string());
        std::string out;
        for (const std::string& name : names)
            out += name + ";";
        return out;
    }

    fs::path root;
};

TEST_F(ReplacingFileTest, CommitCreatesANewFileWithTheUsualMode)
{
    const mode_t mask = umask(022);
    {
        ReplacingFile file(path(root / "new.epub"));
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(put(file, "data"));
        EXPECT_EQ(listing().find("new.epub;"), std::string::npos);  // not there before commit
        ASSERT_TRUE(file.commit());
        EXPECT_EQ(file.stream(), nullptr);
    }
    umask(mask);
    EXPECT_EQ(contents(root / "new.epub"), "data");
    EXPECT_EQ(fs::status(root / "new.epub").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(listing(), "new.epub;");
}

TEST_F(ReplacingFileTest, ReplacesAnExistingFileAndKeepsItsPermissions)
{
    write(root / "book.epub", "old contents");
    fs::permissions(root / "book.epub", fs::perms::owner_read | fs::perms::owner_write);
    ReplacingFile file(path(root / "book.epub"));
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(put(file, "new"));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(contents(root / "book.epub"), "new");
    EXPECT_EQ(fs::status(root / "book.epub").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(listing(), "book.epub;");
}

TEST_F(ReplacingFileTest, AScratchFileIsReplacedAsWholeAsASyncedOne)
{
    // Without the flush to disk, the replacement is still all or nothing,
    // whether the stream is closed by commit or before it.
    write(root / "page.xhtml", "old");
    {
        ReplacingFile abandoned(path(root / "page.xhtml"), ReplacingFile::Durability::Scratch);
        ASSERT_TRUE(abandoned.open());
        ASSERT_TRUE(put(abandoned, "partial"));
    }
    EXPECT_EQ(contents(root / "page.xhtml"), "old");
    for (const bool closeFirst : {false, true}) {
        ReplacingFile file(path(root / "page.xhtml"), ReplacingFile::Durability::Scratch);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(put(file, closeFirst ? "closed" : "open"));
        if (closeFirst) {
            ASSERT_TRUE(file.closeStream());
        }
        ASSERT_TRUE(file.commit());
        EXPECT_EQ(contents(root / "page.xhtml"), closeFirst ? "closed" : "open");
        EXPECT_EQ(listing(), "page.xhtml;");
    }
}

TEST_F(ReplacingFileTest, AnAbandonedFileLeavesTheDestinationAndNoTemporaryFile)
{
    write(root / "book.epub", "old contents");
    {
        ReplacingFile file(path(root / "book.epub"));
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(put(file, "partial"));
        EXPECT_TRUE(fs::is_regular_file(file.temporaryName()));
        EXPECT_EQ(fs::path(file.temporaryName()).parent_path(), root);
    }
    EXPECT_EQ(contents(root / "book.epub"), "old contents");
    EXPECT_EQ(listing(), "book.epub;");
}

TEST_F(ReplacingFileTest, ALinkedDestinationHasItsTargetReplacedAndKeepsTheLink)
{
    fs::create_directory(root / "books");
    write(root / "books" / "real.epub", "old");
    fs::create_symlink("books/real.epub", root / "link.epub");
    fs::create_symlink("link.epub", root / "chain.epub");
    {
        ReplacingFile file(path(root / "chain.epub"));
        ASSERT_TRUE(file.open());
        EXPECT_EQ(fs::path(file.temporaryName()).parent_path(), root / "books");
        ASSERT_TRUE(put(file, "new"));
        ASSERT_TRUE(file.commit());
    }
    EXPECT_TRUE(fs::is_symlink(root / "link.epub"));
    EXPECT_TRUE(fs::is_symlink(root / "chain.epub"));
    EXPECT_EQ(contents(root / "books" / "real.epub"), "new");

    // A link to a name that does not exist yet creates the file it names.
    fs::create_symlink(root / "books" / "fresh.epub", root / "dangling.epub");
    ReplacingFile fresh(path(root / "dangling.epub"));
    ASSERT_TRUE(fresh.open());
    ASSERT_TRUE(put(fresh, "made"));
    ASSERT_TRUE(fresh.commit());
    EXPECT_TRUE(fs::is_symlink(root / "dangling.epub"));
    EXPECT_EQ(contents(root / "books" / "fresh.epub"), "made");
}

TEST_F(ReplacingFileTest, RefusesWhatIsNotARegularFile)
{
    fs::create_directory(root / "folder.epub");
    fs::create_symlink("folder.epub", root / "to-folder.epub");
    fs::create_symlink("loop.epub", root / "loop.epub");
    ASSERT_EQ(mkfifo((root / "pipe.epub").c_str(), 0600), 0);
    for (const fs::path& refused : {root / "folder.epub", root / "to-folder.epub", root / "loop.epub",
                                    root / "pipe.epub", fs::path("/dev/null"), root / "missing" / "x.epub"}) {
        ReplacingFile file(path(refused));
        EXPECT_FALSE(file.open()) << refused;
        EXPECT_EQ(file.stream(), nullptr);
        EXPECT_FALSE(file.commit());
    }
    EXPECT_TRUE(fs::is_directory(root / "folder.epub"));
    EXPECT_TRUE(fs::is_fifo(root / "pipe.epub"));
    EXPECT_EQ(listing(), "folder.epub;loop.epub;pipe.epub;to-folder.epub;");
}

TEST_F(ReplacingFileTest, AFailedCommitRemovesTheTemporaryFile)
{
    ReplacingFile file(path(root / "book.epub"));
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(put(file, "data"));
    // Something else takes the name meanwhile: the rename cannot replace a directory.
    fs::create_directory(root / "book.epub");
    EXPECT_FALSE(file.commit());
    EXPECT_TRUE(fs::is_directory(root / "book.epub"));
    EXPECT_EQ(listing(), "book.epub;");
}

} // namespace
