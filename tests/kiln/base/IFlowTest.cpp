#include "kiln/base/FixedMemIFlow.h"
#include "kiln/base/StringIFlow.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <string>

using namespace KILN;

namespace {
std::string text(const TString<char>& s) { return std::string(s.data(), s.length()); }
} // namespace

TEST(IFlowTest, LineReadsStoreTheLineFeedAndAnswerTrueOnlyAtTheEnd)
{
    const char input[] = "one\r\ntwo\nlast";
    StringIFlow<char> flow(input, sizeof input - 1);
    TString<char> line("stale");
    EXPECT_FALSE(flow.readLine8(line, false));
    EXPECT_EQ(text(line), "one\r\n");
    EXPECT_FALSE(flow.readLine8(line, true));
    EXPECT_EQ(text(line), "one\r\ntwo\n");
    EXPECT_TRUE(flow.readLine8(line, false));
    EXPECT_EQ(text(line), "last");
    EXPECT_TRUE(flow.readLine8(line, false));
    EXPECT_EQ(line.length(), 0u);
}

TEST(IFlowTest, ZeroUnitEndsTheLineWithoutBeingStored)
{
    const unsigned short input[] = {'a', 0, 'b', '\n'};
    StringIFlow<unsigned short> flow(input, 4);
    TString<unsigned short> line;
    EXPECT_FALSE(flow.readLine16(line, false));
    ASSERT_EQ(line.length(), 1u);
    EXPECT_EQ(line[0], 'a');
    EXPECT_FALSE(flow.readLine16(line, false));
    ASSERT_EQ(line.length(), 2u);
    EXPECT_EQ(line[1], '\n');
}

TEST(IFlowTest, LineReadPassesOtherFailuresThrough)
{
    StringIFlow<unsigned int> closed;
    TString<unsigned int> line;
    EXPECT_IO_EXCEPTION(closed.readLine32(line, false), IOException::NotOpen, "kiln/base/StringIFlow");
    const char bytes[] = "x";
    StringIFlow<char> narrow(bytes, 1);
    EXPECT_IO_EXCEPTION(narrow.readLine32(line, false), IOException::WidthNotCarried, "kiln/base/StringIFlow");
}

TEST(FixedMemIFlowTest, AssemblesLittleEndianUnitsAndConsumesNothingOnFailure)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
    FixedMemIFlow flow(bytes, sizeof bytes);
    EXPECT_EQ(flow.widths(), 7u);
    EXPECT_EQ(flow.read16(), 0x0201);
    EXPECT_EQ(flow.read32(), 0x06050403u);
    EXPECT_IO_EXCEPTION(flow.read16(), IOException::EndOfInput, "kiln/base/FixedMemIFlow");
    EXPECT_EQ(flow.read8(), 0x07);
    EXPECT_TRUE(flow.reset());
    uint16_t block[4];
    uint32_t got = 0;
    EXPECT_IO_EXCEPTION(flow.readBlock16(4, block, got), IOException::EndOfInput, "kiln/base/FixedMemIFlow");
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(block[2], 0x0605);
    EXPECT_EQ(flow.read8(), 0x07);
}

TEST(FixedMemIFlowTest, EmptyAndClosedBlocks)
{
    const uint8_t byte = 1;
    FixedMemIFlow empty(&byte, 0);
    EXPECT_TRUE(empty.isOpen());
    EXPECT_IO_EXCEPTION(empty.read8(), IOException::EndOfInput, "kiln/base/FixedMemIFlow");
    FixedMemIFlow none(nullptr, 3);
    EXPECT_FALSE(none.isOpen());
    EXPECT_IO_EXCEPTION(none.read8(), IOException::NotOpen, "kiln/base/FixedMemIFlow");
}
