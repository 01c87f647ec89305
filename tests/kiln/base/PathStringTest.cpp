#include "kiln/base/PathString.h"

#include <gtest/gtest.h>

#include <string>

using namespace KILN;

namespace {

PathString path(const std::string& ascii)
{
    const std::u16string wide(ascii.begin(), ascii.end());
    return PathString(reinterpret_cast<const unsigned short*>(wide.data()), wide.size());
}

std::string ascii(const TStringPtr<unsigned short>& s)
{
    return std::string(s.data(), s.dataEnd());
}

} // namespace

TEST(PathStringTest, JoinClimbsDropsAndSeparatesOnce)
{
    struct Case {
        const char* base;
        const char* relative;
        const char* joined;
    } cases[] = {
        {"a/b/", "../../c.txt", "c.txt"},
        {"/a/b/", "../../c.txt", "/c.txt"},  // the root survives climbing
        {"/a", "../../x", "/x"},
        {"/", "x", "/x"},
        {"/", "/x", "/x"},
        {"a", "./x", "a/x"},
        {"a", "./.././x", "x"},
        {"", "x", "x"},
        {"", "/x", "x"},
        {"", "../x", "../x"},     // nothing left to climb out of
        {"a/", "", "a"},
        {"a/b", "/c", "a/b/c"},
        {"a/b", "..", "a/b/.."},  // only "../" with its separator climbs
        {"a/b", "c/../d", "a/b/c/../d"},
    };
    for (const Case& c : cases) {
        PathString base = path(c.base);
        EXPECT_EQ(ascii(base.join(path(c.relative))), c.joined) << c.base << " + " << c.relative;
    }
}

TEST(PathStringTest, JoinWithAViewOfItself)
{
    PathString p = path("a/b");
    const TSubString<unsigned short> tail(p, 2, 1);
    EXPECT_EQ(ascii(p.join(tail)), "a/b/b");
}

TEST(PathStringTest, ParentErasesTheLastComponent)
{
    struct Case {
        const char* path;
        const char* parent;
    } cases[] = {
        {"a/b/c", "a/b"}, {"abc", "abc"}, {"a/", "a"}, {"/a", "/"}, {"/", "/"}, {"", ""},
    };
    for (const Case& c : cases) {
        PathString p = path(c.path);
        EXPECT_EQ(ascii(p.toParent()), c.parent) << c.path;
    }
}

TEST(PathStringTest, ExtensionIsTakenFromTheLastComponentOnly)
{
    struct Case {
        const char* path;
        const char* extension;
    } cases[] = {
        {"/dir.d/file", ""}, {"x/y.tar.gz", "gz"}, {"book.epub", "epub"}, {"a.", ""}, {"", ""}, {".profile", "profile"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ascii(path(c.path).extension()), c.extension) << c.path;
}
