#include "engine/CodePoints.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using KILN::TString;

namespace {

std::vector<unsigned int> decoded(const std::string& utf8)
{
    TString<unsigned int> text;
    if (!decodeUtf8(utf8, text))
        return {0xBAD};
    return std::vector<unsigned int>(text.data(), text.data() + text.length());
}

} // namespace

TEST(CodePointsTest, EveryLengthBothWays)
{
    const std::string text = "a\xC3\xA9漢\xF0\xA0\x80\x8B\x7F\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF";
    const std::vector<unsigned int> expected = {'a', 0xE9, 0x6F22, 0x2000B, 0x7F, 0x7FF, 0xFFFF, 0x10FFFF};
    EXPECT_EQ(decoded(text), expected);
    TString<unsigned int> codes;
    ASSERT_TRUE(decodeUtf8(text, codes));
    TString<char> utf8("x");
    appendUtf8(codes, utf8);
    EXPECT_EQ(std::string(utf8.data(), utf8.length()), "x" + text);
    EXPECT_EQ(decoded(""), std::vector<unsigned int>());
    // The replacement character itself is text like any other.
    EXPECT_EQ(decoded("\xEF\xBF\xBD"), std::vector<unsigned int>{0xFFFD});
}

TEST(CodePointsTest, MalformedBytesAreRefused)
{
    for (const char* bad : {"\x80", "漢\xBF", "\xE6\xBC", "\xE6\xBC" "a", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF",
                            "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80",
                            "\xFF", "\xF0\xA0\x80"})
        EXPECT_EQ(decoded(bad), std::vector<unsigned int>{0xBAD}) << bad;
}
