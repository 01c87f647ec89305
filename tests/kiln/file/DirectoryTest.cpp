#include "kiln/file/Directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace KILN;
namespace fs = std::filesystem;

namespace {

PathString path(const std::u16string& text)
{
    return PathString(reinterpret_cast<const unsigned short*>(text.data()), text.size());
}

PathString path(const fs::path& native)
{
    return path(native.u16string());
}

std::u16string text(const TStringPtr<unsigned short>& s)
{
    return std::u16string(s.data(), s.dataEnd());
}

void touch(const fs::path& file)
{
    std::ofstream(file) << "data";
}

// A fresh directory for each test, removed afterwards with the standard library.
class DirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kiln-directory-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
    }

    std::vector<std::u16string> subdirectories(const fs::path& dir, bool& done, int32_t& code)
    {
        ArrayList<PathString> list;
        done = Directory::listSubdirectories(path(dir), list, code);
        std::vector<std::u16string> names;
        while (PathString* name = list.removeFirst()) {
            names.push_back(text(*name));
            delete name;
        }
        return names;
    }

    fs::path root;
};

} // namespace

TEST_F(DirectoryTest, CreateMakesEveryMissingLevel)
{
    int32_t code = -1;
    fs::create_directory(root / "t");
    EXPECT_TRUE(Directory::create(path(root / "t/u/v"), code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(fs::is_directory(root / "t/u/v"));
    code = -1;
    EXPECT_TRUE(Directory::create(path(root / "t/u/v/"), code));  // existing, trailing separator
    EXPECT_EQ(code, 0);
    // A directory reached through a link to a directory is fine.
    fs::create_directory_symlink(root / "t", root / "link");
    EXPECT_TRUE(Directory::create(path(root / "link/w"), code));
    EXPECT_TRUE(fs::is_directory(root / "t/w"));
    EXPECT_TRUE(Directory::create(path(root / u"本/章"), code));
    EXPECT_TRUE(fs::is_directory(root / u8"本/章"));
}

TEST_F(DirectoryTest, CreateFailsOnAFileInTheWay)
{
    touch(root / "file");
    int32_t code = -1;
    EXPECT_FALSE(Directory::create(path(root / "file"), code));
    EXPECT_EQ(code, 9);
    code = -1;
    EXPECT_FALSE(Directory::create(path(root / "file/below"), code));
    EXPECT_EQ(code, 9);
    code = -1;
    EXPECT_FALSE(Directory::create(path(std::u16string()), code));
    EXPECT_EQ(code, 9);
}

TEST_F(DirectoryTest, PathsThatCannotBeNamedAreRejected)
{
    // A zero unit would cut "<root>/x\0" short to an existing directory.
    fs::create_directory(root / "x");
    PathString withZero = path(root / "x");
    withZero.append(static_cast<unsigned short>(0));
    withZero.append(static_cast<unsigned short>('y'));
    int32_t code = -1;
    EXPECT_FALSE(Directory::removeTree(withZero, code));
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(fs::is_directory(root / "x"));
    EXPECT_FALSE(Directory::create(withZero, code));
    EXPECT_EQ(code, 9);
    PathString loneSurrogate = path(root / "x");
    loneSurrogate.append(static_cast<unsigned short>(0xD800));
    EXPECT_FALSE(Directory::create(loneSurrogate, code));
    EXPECT_EQ(code, 9);
}

TEST_F(DirectoryTest, ListAnswersSortedDirectoryNamesOnly)
{
    for (const char* name : {"b", "a", "C", "z.d"})
        fs::create_directory(root / name);
    fs::create_directory(root / u8"本");
    touch(root / "file");
    fs::create_directory_symlink(root / "a", root / "linkdir");
    fs::create_directory(root / "a/nested");
    touch(root / std::string("bad\xff" "name"));
    fs::create_directory(root / std::string("bad\xff" "dir"));
    bool done = false;
    int32_t code = -1;
    const std::vector<std::u16string> names = subdirectories(root, done, code);
    EXPECT_TRUE(done);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"C", u"a", u"b", u"bad\uFFFDdir", u"z.d", u"本"}));

    subdirectories(root / "missing", done, code);
    EXPECT_FALSE(done);
    EXPECT_EQ(code, 2);
    subdirectories(root / "file", done, code);
    EXPECT_FALSE(done);
    EXPECT_EQ(code, 2);
}

TEST_F(DirectoryTest, OverlongNamesNeverDecodeToASlash)
{
    // C0 AF is an overlong '/': read as one, "a\xC0\xAF" "b" would name b in a.
    // Each bad byte becomes U+FFFD on its own; good sequences around stay.
    fs::create_directory(root / std::string("a\xC0\xAF" "b"));
    fs::create_directory(root / std::string("\xED\xA0\x80\xF0\xA0\xAE\xB7\xE0\x80"));
    bool done = false;
    int32_t code = -1;
    EXPECT_EQ(subdirectories(root, done, code),
              (std::vector<std::u16string>{u"a\uFFFD\uFFFDb", u"\uFFFD\uFFFD\uFFFD\U00020BB7\uFFFD\uFFFD"}));
    EXPECT_TRUE(done);
}

TEST_F(DirectoryTest, ListClearsTheListFirst)
{
    fs::create_directory(root / "only");
    PathString stale = path(std::u16string(u"stale"));
    ArrayList<PathString> list;
    list.add(&stale);
    int32_t code = -1;
    ASSERT_TRUE(Directory::listSubdirectories(path(root), list, code));
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(text(*list.first()), u"only");
    delete list.removeFirst();
}

TEST_F(DirectoryTest, RemoveTreeDeletesFilesAndNestedDirectories)
{
    const fs::path tree = root / "tree";
    fs::create_directories(tree / "a/b/c");
    fs::create_directories(tree / u8"本/空");
    touch(tree / "top.txt");
    touch(tree / "a/b/c/deep.txt");
    touch(tree / ".hidden");
    int32_t code = -1;
    EXPECT_TRUE(Directory::removeTree(path(tree), code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(fs::exists(root));
}

TEST_F(DirectoryTest, RemoveTreeRemovesLinksAndLeavesTheirTargets)
{
    const fs::path outside = root / "outside";
    fs::create_directories(outside / "keep");
    touch(outside / "keep/precious.txt");
    touch(root / "outside.txt");
    const fs::path tree = root / "tree";
    fs::create_directories(tree / "sub");
    fs::create_directory_symlink(outside, tree / "dirlink");
    fs::create_symlink(root / "outside.txt", tree / "sub/filelink");
    fs::create_symlink(root / "nowhere", tree / "dangling");
    int32_t code = -1;
    EXPECT_TRUE(Directory::removeTree(path(tree), code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_TRUE(fs::exists(outside / "keep/precious.txt"));
    EXPECT_TRUE(fs::exists(root / "outside.txt"));

    // A link as the root itself is not a directory to descend into.
    fs::create_directory_symlink(outside, root / "rootlink");
    EXPECT_FALSE(Directory::removeTree(path(root / "rootlink"), code));
    EXPECT_EQ(code, 6);
    EXPECT_TRUE(fs::exists(outside / "keep/precious.txt"));
}

TEST_F(DirectoryTest, RemoveTreeReportsMissingRootsAndFiles)
{
    int32_t code = -1;
    EXPECT_FALSE(Directory::removeTree(path(root / "missing"), code));
    EXPECT_EQ(code, 1);
    touch(root / "file");
    EXPECT_FALSE(Directory::removeTree(path(root / "file"), code));
    EXPECT_EQ(code, 6);
    EXPECT_TRUE(fs::exists(root / "file"));
}

TEST_F(DirectoryTest, RemoveTreeReportsAnEntryItCannotRemove)
{
    int32_t code = -1;
    if (geteuid() == 0) {
        // Permissions do not stop root; the entries of /proc/self/fd can
        // never be unlinked.
        EXPECT_FALSE(Directory::removeTree(path(fs::path("/proc/self/fd")), code));
        EXPECT_EQ(code, 7);
        return;
    }
    const fs::path locked = root / "tree/locked";
    fs::create_directories(locked);
    touch(locked / "file");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(Directory::removeTree(path(root / "tree"), code));
    EXPECT_EQ(code, 7);
    EXPECT_TRUE(fs::exists(locked / "file"));
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(DirectoryTest, DeepTreeIsRemovedWithFewDescriptors)
{
    // Regression: removal held a descriptor per level, and a tree deeper
    // than the open-file limit (here 64) could not be removed.
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 1000 && fd >= 0; ++i) {
        mkdirat(fd, "d", 0700);
        if (i % 100 == 0)
            close(openat(fd, "file", O_WRONLY | O_CREAT, 0600));
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
    }
    ASSERT_GE(fd, 0);
    close(fd);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit few = saved;
    few.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    int32_t code = -1;
    const bool removed = Directory::removeTree(path(root / "d"), code);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_TRUE(removed);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(fs::exists(root / "d"));
}
