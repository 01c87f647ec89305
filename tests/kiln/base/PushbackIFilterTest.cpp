#include "kiln/base/PushbackIFilter.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/UInt16SwapEndianIFilter.h"
#include "kiln/base/UInt32SwapEndianIFilter.h"

#include "tests/kiln/base/ExpectIOException.h"

using namespace KILN;

namespace {
constexpr const char* Module = "kiln/base/PushbackIFilter";
}

TEST(PushbackIFilterTest, StackDoublesWhenFullAndDeliversInReverseOrder)
{
    const unsigned short source[] = {100};
    StringIFlow<unsigned short> flow(source, 1);
    PushbackIFilter<unsigned short> filter;
    filter.attach(&flow);
    EXPECT_EQ(filter.pushbackCapacity(), 16u);
    for (unsigned short u = 1; u <= 17; ++u)
        filter.pushBack(u);
    EXPECT_EQ(filter.pushbackCapacity(), 32u);
    for (unsigned short u = 17; u >= 1; --u)
        EXPECT_EQ(filter.read16(), u);
    EXPECT_EQ(filter.read16(), 100);
    EXPECT_IO_EXCEPTION(filter.read16(), IOException::EndOfInput, "kiln/base/StringIFlow");
}

TEST(PushbackIFilterTest, WrongWidthMissingSourceAndReset)
{
    PushbackIFilter<char> filter;
    EXPECT_EQ(filter.widths(), 1u);
    EXPECT_IO_EXCEPTION(filter.read8(), IOException::NoSource, Module);
    EXPECT_IO_EXCEPTION(filter.read16(), IOException::WidthNotCarried, Module);
    filter.pushBack('q');
    EXPECT_EQ(filter.read8(), 'q');

    const char text[] = "ab";
    StringIFlow<char> flow(text, 2);
    filter.attach(&flow);
    EXPECT_EQ(filter.read8(), 'a');
    filter.pushBack('z');
    EXPECT_TRUE(filter.reset());
    EXPECT_TRUE(filter.isFresh());
    EXPECT_EQ(filter.pushbackCount(), 0u);
    EXPECT_EQ(filter.read8(), 'a');
}

TEST(PushbackIFilterTest, AttachingANewSourceDropsStalePushback)
{
    const char first[] = "a";
    const char second[] = "b";
    StringIFlow<char> one(first, 1);
    StringIFlow<char> two(second, 1);
    PushbackIFilter<char> filter;
    filter.attach(&one);
    filter.pushBack('x');
    filter.attach(&two);
    EXPECT_EQ(filter.read8(), 'b');
}

TEST(SwapEndianIFilterTest, ReversesBytesAndNeedsASource)
{
    const unsigned short units[] = {0x1234};
    StringIFlow<unsigned short> flow16(units, 1);
    UInt16SwapEndianIFilter swap16;
    EXPECT_IO_EXCEPTION(swap16.read16(), IOException::NoSource, "kiln/base/UInt16SwapEndianIFilter");
    swap16.attach(&flow16);
    EXPECT_EQ(swap16.read16(), 0x3412);

    const unsigned int wide[] = {0x12345678};
    StringIFlow<unsigned int> flow32(wide, 1);
    UInt32SwapEndianIFilter swap32;
    EXPECT_IO_EXCEPTION(swap32.read32(), IOException::NoSource, "kiln/base/UInt32SwapEndianIFilter");
    swap32.attach(&flow32);
    EXPECT_EQ(swap32.read32(), 0x78563412u);
}
