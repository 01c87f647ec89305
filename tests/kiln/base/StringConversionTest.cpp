#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/PathString.h"
#include "kiln/base/StringConversion.h"
#include "kiln/base/Utf16String.h"
#include "kiln/base/Utf8String.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KILN;

namespace {

class StringConversionTest : public ::testing::Test {
protected:
    void SetUp() override { EncodingRegistry::lifeCycle(true); }
    void TearDown() override { EncodingRegistry::lifeCycle(false); }
};

std::string bytes(const TStringPtr<char>& s)
{
    return std::string(s.data(), s.length());
}

template <class T>
std::vector<T> units(const TStringPtr<T>& s)
{
    return std::vector<T>(s.data(), s.data() + s.length());
}

using Units16 = std::vector<unsigned short>;
using Units32 = std::vector<unsigned int>;

} // namespace

TEST_F(StringConversionTest, Utf8FromUtf16DropsTheMark)
{
    const unsigned short marked[] = {0xFEFF, 0x61, 0x3042};
    const unsigned short plain[] = {0x61, 0x3042};
    EXPECT_EQ(bytes(Utf8String(Utf16String(marked, 3))), "a\xE3\x81\x82");
    EXPECT_EQ(bytes(Utf8String(Utf16String(plain, 2))), "a\xE3\x81\x82");
    // A byte-swapped mark selects the other byte order.
    const unsigned short swapped[] = {0xFFFE, 0x6100};
    EXPECT_EQ(bytes(Utf8String(Utf16String(swapped, 2))), "a");
}

TEST_F(StringConversionTest, Utf16FromUtf8)
{
    EXPECT_EQ(units(Utf16String("\xEF\xBB\xBF" "a")), Units16{'a'});
    const Utf16String emoji("\xF0\x9F\x98\x80");
    ASSERT_EQ(emoji.length(), 2u);
    EXPECT_EQ(emoji[0], 0xD83D);
    EXPECT_EQ(emoji[1], 0xDE00);
    EXPECT_EQ(Utf16String("").length(), 0u);
    EXPECT_EQ(Utf16String(static_cast<const char*>(nullptr)).length(), 0u);
}

// Characters above U+FFFF used to be lost on the way from code points to UTF-8.
TEST_F(StringConversionTest, CodePointsAndUtf8RoundTrip)
{
    const char utf8[] = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80\xF0\xA0\x80\x8B" "z";
    const TString<char> encoded(utf8);
    const TString<unsigned int> codePoints(encoded);
    const Units32 expected{0x61, 0xE9, 0x3042, 0x1F600, 0x2000B, 0x7A};
    EXPECT_EQ(units(codePoints), expected);
    const TString<char> back(codePoints);
    EXPECT_EQ(bytes(back), std::string(utf8));
    // A leading U+FEFF is text here, and stays.
    const TString<char> marked("\xEF\xBB\xBF" "a");
    const TString<unsigned int> markedPoints(marked);
    EXPECT_EQ(units(markedPoints), (Units32{0xFEFF, 0x61}));
    EXPECT_EQ(bytes(TString<char>(markedPoints)), "\xEF\xBB\xBF" "a");
}

TEST_F(StringConversionTest, GeneralConversion)
{
    TString<char> destination("old");
    const TString<unsigned short> empty;
    EXPECT_TRUE(convertEncoding(empty, EncodingRegistry::Utf16N, EncodingRegistry::Utf8N, destination));
    EXPECT_EQ(destination.length(), 0u);

    const unsigned short path[] = {0x30C6, 0x0078};
    TString<char> narrow;
    EXPECT_TRUE(convertEncoding(path, 2, EncodingRegistry::Utf16N, EncodingRegistry::Cp932, narrow));
    EXPECT_EQ(bytes(narrow), "\x83\x65x");

    // No chain: false and an empty destination.
    destination = "old";
    EXPECT_FALSE(convertEncoding(path, 2, EncodingRegistry::Utf16N, EncodingRegistry::XmlDetector, destination));
    EXPECT_EQ(destination.length(), 0u);
    // Units of the wrong width for the chain fail in the flows.
    TString<unsigned int> wide;
    EXPECT_FALSE(convertEncoding(path, 2, EncodingRegistry::Utf16N, EncodingRegistry::Utf8N, wide));
}

TEST_F(StringConversionTest, PathFromUtf8)
{
    PathString path;
    path.assignUtf8("\xEF\xBB\xBF/tmp/\xE6\x9C\xAC");
    path.appendUtf8(".epub");
    const unsigned short expected[] = {'/', 't', 'm', 'p', '/', 0x672C, '.', 'e', 'p', 'u', 'b'};
    EXPECT_EQ(units(path), Units16(expected, expected + 11));
    path.assignUtf8("x");
    EXPECT_EQ(path.length(), 1u);
}
