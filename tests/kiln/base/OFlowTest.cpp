#include "kiln/base/MemOFlow.h"
#include "kiln/base/NullOFlow.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/TOFilter.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <string>

using namespace KILN;

TEST(StringOFlowTest, AppendsItsOwnWidthOnly)
{
    TString<char> target("x");
    StringOFlow<char> flow(&target);
    EXPECT_FALSE(flow.isEmpty());
    flow.write8('y');
    EXPECT_TRUE(flow.writeZ8("zw"));
    EXPECT_TRUE(flow.writeString8(TString<char>("!")));
    EXPECT_EQ(std::string(target.data(), target.length()), "xyzw!");
    EXPECT_IO_EXCEPTION(flow.write16(1), IOException::WidthNotCarried, "kiln/base/StringOFlow");
    const uint32_t wide[] = {1, 0};
    EXPECT_IO_EXCEPTION(flow.writeZ32(wide), IOException::WidthNotCarried, "kiln/base/StringOFlow");
    EXPECT_TRUE(flow.reset());
    EXPECT_TRUE(flow.isEmpty());
    EXPECT_TRUE(flow.close());
    EXPECT_IO_EXCEPTION(flow.write8('a'), IOException::NotOpen, "kiln/base/StringOFlow");
}

TEST(MemOFlowTest, StoresLittleEndianAndGrowsByHalfItsCapacity)
{
    MemOFlow flow;
    EXPECT_EQ(flow.capacity(), 10u);
    flow.write32(0x04030201);
    flow.write16(0x0605);
    flow.write8(0x07);
    EXPECT_EQ(flow.capacity(), 10u);
    const uint16_t units[] = {0x0908, 0x0B0A};
    uint32_t written = 0;
    flow.writeBlock16(2, units, written);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(flow.length(), 11u);
    EXPECT_EQ(flow.capacity(), 15u);
    for (uint32_t i = 0; i < flow.length(); ++i)
        EXPECT_EQ(flow.data()[i], i + 1) << i;
    EXPECT_TRUE(flow.reset());
    EXPECT_EQ(flow.length(), 0u);
    EXPECT_TRUE(flow.close());
    EXPECT_IO_EXCEPTION(flow.write8(1), IOException::NotOpen, "kiln/base/MemOFlow");
}

TEST(MemOFlowTest, WritingUnitByUnitIsLinear)
{
    // Exact-fit growth copied everything written so far for every unit.
    MemOFlow flow;
    uint32_t reallocations = 0;
    for (uint32_t i = 0; i < 1'000'000; ++i) {
        const uint32_t before = flow.capacity();
        flow.write16(static_cast<uint16_t>(i));
        reallocations += flow.capacity() != before;
    }
    EXPECT_EQ(flow.length(), 2'000'000u);
    EXPECT_LT(reallocations, 40u);
}

TEST(MemOFlowTest, LentBufferIsNeverFreedNorReallocated)
{
    uint8_t lent[2] = {0xEE, 0xEE};
    {
        MemOFlow flow(lent, sizeof lent);
        flow.write8(1);
        flow.write8(2);
        EXPECT_EQ(flow.data(), lent);
        EXPECT_TRUE(flow.isLent());
        flow.write8(3);
        EXPECT_NE(flow.data(), lent);
        EXPECT_FALSE(flow.isLent());
        EXPECT_EQ(flow.capacity(), 3u);
        EXPECT_EQ(flow.data()[0], 1);
        EXPECT_EQ(flow.data()[2], 3);
    }
    EXPECT_EQ(lent[0], 1);
    EXPECT_EQ(lent[1], 2);
}

TEST(NullOFlowTest, AcceptsEveryWidth)
{
    NullOFlow flow;
    EXPECT_EQ(flow.widths(), 7u);
    flow.write8(1);
    flow.write16(2);
    flow.write32(3);
    const uint32_t units[] = {1, 2, 0};
    EXPECT_TRUE(flow.writeZ32(units));
}

TEST(TOFilterTest, ForwardsItsWidthAndReportsMissingTarget)
{
    TOFilter<unsigned short> filter;
    EXPECT_IO_EXCEPTION(filter.write16(1), IOException::NoTarget, "kiln/base/OFilter");
    EXPECT_IO_EXCEPTION(filter.flush(), IOException::NoTarget, "kiln/base/OFilter");
    EXPECT_IO_EXCEPTION(filter.write8(1), IOException::WidthNotCarried, "kiln/base/TOFilter");
    TString<unsigned short> text;
    StringOFlow<unsigned short> target(&text);
    filter.attach(&target);
    EXPECT_TRUE(filter.isReady());
    filter.write16(0x3042);
    EXPECT_IO_EXCEPTION(filter.write32(1), IOException::WidthNotCarried, "kiln/base/TOFilter");
    ASSERT_EQ(text.length(), 1u);
    EXPECT_EQ(text[0], 0x3042);
}
