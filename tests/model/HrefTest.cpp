#include "model/Href.h"

#include "support/BookFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace zef::test;

namespace {

std::string text(const KILN::Utf8String& value)
{
    return std::string(value.data(), value.length());
}

KILN::Utf8String href(const std::string& value)
{
    return KILN::Utf8String(value.c_str());
}

} // namespace

TEST(HrefTest, DecodingTakesEscapesAndCutsTheFragment)
{
    const struct {
        const char* href;
        const char* decoded;
    } cases[] = {
        {"my%20nav.xhtml", "my nav.xhtml"},
        {"%E6%97%A5.xhtml#p1", "\xE6\x97\xA5.xhtml"},
        {"a%2520b%2F", "a%20b/"},
        // Escapes cut short or not hexadecimal stay as written.
        {"100%", "100%"},
        {"a%4", "a%4"},
        {"%zz%41", "%zzA"},
        {"#only", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(percentDecoded(href(c.href))), c.decoded) << c.href;
}

TEST(HrefTest, EncodingEscapesWhatAUrlCannotHold)
{
    EXPECT_EQ(text(hrefEncoded(href("text/my nav#1?%.xhtml"))), "text/my%20nav%231%3F%25.xhtml");
    EXPECT_EQ(text(hrefEncoded(href("../\xE6\x97\xA5/a-b_c.xhtml"))), "../\xE6\x97\xA5/a-b_c.xhtml");
    // Encoded and decoded again, a name comes back.
    const std::string name = "a b%20c#d.xhtml";
    EXPECT_EQ(text(percentDecoded(hrefEncoded(href(name)))), name);
}

TEST(HrefTest, PathIsTheDecodedFileUnlessOnlyTheWrittenOneExists)
{
    const fs::path book = freshFolder("href");
    const KILN::PathString folder = pathString(book);
    EXPECT_EQ(utf8(KILN::Utf8String(hrefPath(folder, href("a%20b.xhtml")))), (book / "a b.xhtml").string());
    writeBytes(book / "x%20y.xhtml", "");
    EXPECT_EQ(utf8(KILN::Utf8String(hrefPath(folder, href("x%20y.xhtml")))), (book / "x%20y.xhtml").string());
    writeBytes(book / "x y.xhtml", "");
    EXPECT_EQ(utf8(KILN::Utf8String(hrefPath(folder, href("x%20y.xhtml")))), (book / "x y.xhtml").string());
}
