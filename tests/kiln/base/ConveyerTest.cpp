#include "kiln/base/Conveyer.h"
#include "kiln/base/FixedMemIFlow.h"
#include "kiln/base/IFilter.h"
#include "kiln/base/MemOFlow.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/StringOFlow.h"

#include "tests/kiln/base/ExpectIOException.h"

using namespace KILN;

namespace {
constexpr const char* Module = "kiln/base/Conveyer";
}

TEST(ConveyerTest, MissingFlowsAndNoCommonWidth)
{
    const char bytes[] = "ab";
    StringIFlow<char> input(bytes, 2);
    TString<unsigned short> text;
    StringOFlow<unsigned short> output(&text);
    EXPECT_IO_EXCEPTION(convey(nullptr, &output), IOException::NoSource, Module);
    EXPECT_IO_EXCEPTION(convey(&input, nullptr), IOException::NoTarget, Module);
    EXPECT_IO_EXCEPTION(convey(&input, &output), IOException::NoCommonWidth, Module);
    EXPECT_EQ(text.length(), 0u);
}

TEST(ConveyerTest, ChoosesTheNarrowestCommonWidth)
{
    // A memory flow carries every width: 16-bit units from a string land in
    // it as little-endian bytes.
    const unsigned short units[] = {0x0102, 0x0304};
    StringIFlow<unsigned short> input(units, 2);
    MemOFlow memory;
    convey(&input, &memory);
    ASSERT_EQ(memory.length(), 4u);
    EXPECT_EQ(memory.data()[0], 0x02);
    EXPECT_EQ(memory.data()[3], 0x03);

    // From every-width memory into a 32-bit string: four bytes make a unit.
    FixedMemIFlow bytes(memory.data(), memory.length());
    TString<unsigned int> wide;
    StringOFlow<unsigned int> output(&wide);
    convey(&bytes, &output);
    ASSERT_EQ(wide.length(), 1u);
    EXPECT_EQ(wide[0], 0x03040102u);
}

TEST(ConveyerTest, PumpsBeyondOneBlockAndPassesOtherFailures)
{
    TString<char> big;
    for (int i = 0; i < 10000; ++i)
        big.append(static_cast<char>('a' + i % 26));
    IFilter pass;
    StringIFlow<char> input(big);
    pass.attach(&input);
    TString<char> copy;
    StringOFlow<char> output(&copy);
    conveyBytes(&pass, &output);
    EXPECT_EQ(copy, big);

    StringIFlow<char> closed;
    EXPECT_IO_EXCEPTION(convey(&closed, &output), IOException::NotOpen, "kiln/base/StringIFlow");
}

TEST(ConveyerTest, ByteFormRequiresBytesOnBothSides)
{
    const unsigned short units[] = {1};
    StringIFlow<unsigned short> input(units, 1);
    MemOFlow memory;
    EXPECT_IO_EXCEPTION(conveyBytes(&input, &memory), IOException::NoCommonWidth, Module);
    EXPECT_EQ(memory.length(), 0u);
}

TEST(IFilterTest, PassesThroughAndNeedsASource)
{
    IFilter filter;
    EXPECT_FALSE(filter.isOpen());
    EXPECT_IO_EXCEPTION(filter.read32(), IOException::NoSource, "kiln/base/IFilter");
    const unsigned short units[] = {7};
    StringIFlow<unsigned short> input(units, 1);
    filter.attach(&input);
    EXPECT_TRUE(filter.isReady());
    EXPECT_EQ(filter.compatibility(), 2u);
    EXPECT_EQ(filter.read16(), 7);
    EXPECT_TRUE(filter.reset());
    EXPECT_EQ(filter.read16(), 7);
}
