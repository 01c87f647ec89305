#include "kiln/base/Exception.h"
#include "kiln/base/TString.h"
#include "kiln/base/Utf16String.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

using namespace KILN;

namespace {

std::string text(const TString<char>& s) { return std::string(s.data(), s.length()); }

} // namespace

TEST(TStringTest, CapacitiesAreBytesAndConstructionIsExact)
{
    TString<unsigned short> wide;
    EXPECT_EQ(wide.capacity(), 20u);
    EXPECT_EQ(wide.length(), 0u);

    TString<char> empty("");
    EXPECT_EQ(empty.capacity(), 1u);
    EXPECT_EQ(empty.length(), 0u);

    TString<unsigned int> fromNull(nullptr, 5);
    EXPECT_EQ(fromNull.capacity(), 40u);

    TString<char> s("abc");
    EXPECT_EQ(s.capacity(), 3u);
    s.append('d');
    EXPECT_EQ(s.capacity(), 4u);
    s.append("ef");
    EXPECT_EQ(s.capacity(), 6u);
    EXPECT_EQ(text(s), "abcdef");

    TString<char> copy(s);
    EXPECT_EQ(copy.capacity(), 6u);
    TString<char> none(empty);
    EXPECT_EQ(none.capacity(), 1u);
}

TEST(TStringTest, AssignmentKeepsALargeEnoughBuffer)
{
    TString<unsigned short> s;
    const unsigned short abc[] = {'a', 'b', 'c', 0};
    s = abc;
    EXPECT_EQ(s.capacity(), 20u);
    EXPECT_EQ(s.length(), 3u);
    TString<char> small("ab");
    small = "abcdef";
    EXPECT_EQ(small.capacity(), 6u);
    EXPECT_EQ(small.frontRoom(), 0u);
}

TEST(TStringTest, FrontRoomIsReusedBeforeReallocation)
{
    TString<char> s("abcdef");
    ASSERT_TRUE(s.erase(0, 3));
    EXPECT_EQ(text(s), "def");
    EXPECT_EQ(s.frontRoom(), 3u);
    EXPECT_EQ(s.capacity(), 6u);
    s.append("gh");  // the text moves to the buffer's start
    EXPECT_EQ(text(s), "defgh");
    EXPECT_EQ(s.capacity(), 6u);
    EXPECT_EQ(s.frontRoom(), 0u);
    s.append('i');
    EXPECT_EQ(text(s), "defghi");
    EXPECT_EQ(s.capacity(), 6u);
    EXPECT_EQ(s.frontRoom(), 0u);
    s.append('j');
    EXPECT_EQ(s.capacity(), 9u);  // grown by half
    EXPECT_EQ(text(s), "defghij");
}

TEST(TStringTest, AppendingTheFrontRoomSizeReallocates)
{
    // n units fit in front only when n is below the front room.
    TString<char> s("abcdef");
    s.erase(0, 2);
    s.append("xy");
    EXPECT_EQ(s.capacity(), 9u);
    EXPECT_EQ(text(s), "cdefxy");
}

TEST(TStringTest, AppendingUnitByUnitIsLinear)
{
    // Exact-fit growth reallocated (and copied) the whole text for every unit.
    TString<unsigned short> s;
    uint32_t reallocations = 0;
    for (uint32_t i = 0; i < 1'000'000; ++i) {
        const uint32_t before = s.capacity();
        s.append(static_cast<unsigned short>('a' + i % 26));
        reallocations += s.capacity() != before;
    }
    EXPECT_EQ(s.length(), 1'000'000u);
    EXPECT_LT(reallocations, 40u);
    TString<char> inserted;
    reallocations = 0;
    for (uint32_t i = 0; i < 100'000; ++i) {
        const uint32_t before = inserted.capacity();
        inserted.insert(inserted.length(), "xy", 2);
        reallocations += inserted.capacity() != before;
    }
    EXPECT_LT(reallocations, 40u);
}

TEST(TStringTest, AppendingAfterFrontErasureIsLinear)
{
    // Reusing the front room moved the whole text by one unit per append: a
    // million appends after erasing a million units took 10^12 moves.
    TString<char> s(std::string(2'000'000, 'a').c_str());
    ASSERT_TRUE(s.erase(0, 1'000'000));
    for (uint32_t i = 0; i < 1'000'000; ++i)
        s.append('b');
    EXPECT_EQ(s.length(), 2'000'000u);
    EXPECT_EQ(s.capacity(), 2'000'000u);  // the front room was used, nothing grew
    EXPECT_EQ(*s.unitAt(999'999), 'a');
    EXPECT_EQ(*s.unitAt(1'000'000), 'b');

    // A text consumed at the front while appended to at the back.
    TString<char> queue(std::string(1'000'000, 'q').c_str());
    for (uint32_t i = 0; i < 2'000'000; ++i) {
        queue.erase(0, 1);
        queue.append('r');
    }
    EXPECT_EQ(queue.length(), 1'000'000u);
    EXPECT_EQ(*queue.unitAt(0), 'r');
}

TEST(TStringTest, LengthBeyondA32BitByteCapacityIsRefusedNotWrapped)
{
    // The capacity counts bytes in 32 bits: a byte count past 4 GiB wrapped
    // to a small buffer that the copy then overran. Nothing is read from the
    // source before the refusal, so a tiny source stands for a huge one.
    const unsigned int unit = 'u';
    TString<unsigned int> s;
    s.append(unit);
    EXPECT_THROW(s.append(&unit, TString<unsigned int>::MaxUnits), std::bad_alloc);
    EXPECT_THROW(s.insert(0, &unit, TString<unsigned int>::MaxUnits), std::bad_alloc);
    EXPECT_THROW(s.assign(&unit, TString<unsigned int>::MaxUnits + 1), std::bad_alloc);
    EXPECT_EQ(s.length(), 1u);
    EXPECT_EQ(*s.unitAt(0), unit);
}

TEST(TStringTest, AppendingItselfIsSafe)
{
    TString<char> s("abc");
    s.append(s);
    EXPECT_EQ(text(s), "abcabc");
    TSubString<char> tail(s, 4, 2);
    s.insert(0, tail);
    EXPECT_EQ(text(s), "bcabcabc");
}

TEST(TStringTest, InsertAndErase)
{
    TString<char> s("abcdef");
    EXPECT_FALSE(s.insert(7, "x", 1));
    EXPECT_TRUE(s.insert(6, "x", 1));
    EXPECT_EQ(text(s), "abcdefx");
    EXPECT_TRUE(s.insert(0, "yz", 2));
    EXPECT_EQ(text(s), "yzabcdefx");

    EXPECT_FALSE(s.erase(9, 0));
    EXPECT_FALSE(s.erase(8, 2));
    EXPECT_TRUE(s.erase(3, 0));
    EXPECT_TRUE(s.erase(7, 2)); // to the end: only end moves
    EXPECT_EQ(text(s), "yzabcde");
    const uint32_t front = s.frontRoom();
    EXPECT_TRUE(s.erase(5, 1)); // short tail moves down
    EXPECT_EQ(text(s), "yzabce");
    EXPECT_EQ(s.frontRoom(), front);
    EXPECT_TRUE(s.erase(1, 1)); // short head moves up
    EXPECT_EQ(text(s), "yabce");
    EXPECT_EQ(s.frontRoom(), front + 1);

    // Inserting into front room moves the head, not the tail.
    TString<char> t("abcdef");
    t.erase(0, 2);
    const uint32_t capacity = t.capacity();
    EXPECT_TRUE(t.insert(1, "XY", 2));
    EXPECT_EQ(text(t), "cXYdef");
    EXPECT_EQ(t.capacity(), capacity);
    EXPECT_EQ(t.frontRoom(), 0u);
}

TEST(TStringTest, FindUsesOneBasedPositions)
{
    TString<char> s("abcdcd");
    EXPECT_EQ(s.find(TString<char>("cd")), 3u);
    EXPECT_EQ(s.find(TString<char>("cd"), 3), 5u);
    EXPECT_EQ(s.find(TString<char>("abcdcdx")), 0u);
    EXPECT_EQ(s.find(TString<char>("ce")), 0u);

    // Overlapping occurrences and a pattern whose border the matcher must reuse.
    TString<char> t("aaabaaabaaaab");
    EXPECT_EQ(t.find("aaaab"), 9u);
    TString<char> u("abababcab");
    EXPECT_EQ(u.find("ababc"), 3u);
}

TEST(TStringTest, ReplaceAll)
{
    TString<char> s("a-b-c");
    EXPECT_EQ(s.replaceAll(TString<char>("-"), TString<char>("-")), 0u);
    EXPECT_EQ(s.replaceAll(TString<char>("-"), TString<char>("--")), 2u);
    EXPECT_EQ(text(s), "a--b--c");
    EXPECT_EQ(s.replaceAll(TString<char>("--"), TString<char>("")), 2u);
    EXPECT_EQ(text(s), "abc");
    TString<char> overlap("aaaa");
    EXPECT_EQ(overlap.replaceAll(TString<char>("aa"), TString<char>("b")), 2u);
    EXPECT_EQ(text(overlap), "bb");
    TString<char> grow("xx");
    EXPECT_EQ(grow.replaceAll(TString<char>("x"), TString<char>("xyx")), 2u);
    EXPECT_EQ(text(grow), "xyxxyx");
}

TEST(TStringTest, ComparisonIsSignedForBytes)
{
    EXPECT_EQ(TString<char>("abc").compare("abcd"), -1);
    EXPECT_EQ(TString<char>("abcd").compare("abc"), 1);
    EXPECT_EQ(TString<char>("abc").compare("abc"), 0);
    EXPECT_EQ(TString<char>("\xE3").compare("a"), -1);
    const unsigned short high[] = {0xE3, 0};
    const unsigned short a[] = {'a', 0};
    EXPECT_EQ(TString<unsigned short>(high).compare(a), 1);
    EXPECT_EQ(TString<char>("ABC").compareNoCase(TString<char>("abc")), 0);
    EXPECT_EQ(TString<char>("ABC").compareNoCase(TString<char>("abd")), -1);
}

TEST(TStringTest, DecimalValue)
{
    EXPECT_EQ(TString<char>("12a").decimalValue(), 0);
    EXPECT_EQ(TString<char>("").decimalValue(), 0);
    EXPECT_EQ(TString<char>("007").decimalValue(), 7);
    EXPECT_EQ(TString<char>("-7").decimalValue(), 0);
    EXPECT_EQ(TString<char>("65535").decimalValue(), 65535);
}

TEST(TStringTest, TerminateWritesAZeroOutsideTheText)
{
    TString<char> s("abc");
    EXPECT_STREQ(s.zeroTerminated(), "abc");
    EXPECT_EQ(s.length(), 3u);
    EXPECT_EQ(s.capacity(), 4u);
    s.append('d');
    EXPECT_EQ(text(s), "abcd");

    // Full at the back with front room: the text moves instead of growing.
    TString<char> shifted("abcd");
    shifted.erase(0, 1);
    EXPECT_STREQ(shifted.zeroTerminated(), "bcd");
    EXPECT_EQ(shifted.capacity(), 4u);
    EXPECT_EQ(shifted.frontRoom(), 0u);
}

TEST(TStringTest, SubStringViewsTheOwner)
{
    TString<char> s("hello world");
    TSubString<char> world(s, 6, 5);
    EXPECT_EQ(world.length(), 5u);
    EXPECT_EQ(world.offset(), 6u);
    EXPECT_EQ(std::string(world.data(), world.length()), "world");
    EXPECT_EQ(s.find(world), 7u);
    TString<char> copy(world);
    EXPECT_EQ(text(copy), "world");
}

TEST(TStringTest, FormatReplacesTheContentAndAnswersTheCount)
{
    TString<char> s("old text");
    EXPECT_EQ(s.format("%d-%s", 5, "ab"), 4);
    EXPECT_EQ(text(s), "5-ab");
    EXPECT_EQ(s.formatN("%dxyz", 2, 77), 2);  // only "%d" of the format
    EXPECT_EQ(text(s), "77");
    EXPECT_EQ(s.format(""), 0);
    EXPECT_EQ(s.length(), 0u);

    const unsigned short wideFormat[] = {'[', '%', 's', ']', 0};
    const unsigned short wideWord[] = {0x65E5, 0x672C, 0};
    Utf16String wide;
    EXPECT_EQ(wide.format(wideFormat, wideWord), 4);
    const unsigned short expected[] = {'[', 0x65E5, 0x672C, ']'};
    EXPECT_EQ(wide.compare(Utf16String(expected, 4)), 0);
}

TEST(TStringTest, FormatTakesAFormatAndArgumentsFromItsOwnText)
{
    TString<char> s("%s|%s");
    s.zeroTerminated();
    const TString<char> copy(s);
    // The format is the string itself, and so is the first argument.
    EXPECT_EQ(s.format(s.data(), s.data(), "b"), 7);
    EXPECT_EQ(text(s), "%s|%s|b");
    EXPECT_EQ(text(copy), "%s|%s");
}

TEST(TStringTest, FormatFailureRaisesAndLeavesTheStringEmpty)
{
    TString<char> s("kept?");
    try {
        s.format("%{2}d", 1);  // position 1 is never named: nothing is read
        ADD_FAILURE() << "no exception";
    } catch (const FmtException& e) {
        EXPECT_EQ(e.code(), FmtException::MissingArgument);
    }
    EXPECT_EQ(s.length(), 0u);
    EXPECT_EQ(s.format("%d", 3), 1);
    EXPECT_EQ(text(s), "3");
}
