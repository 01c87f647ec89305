#include "kiln/base/StringIFlow.h"

#include "tests/kiln/base/ExpectIOException.h"

using namespace KILN;

namespace {
constexpr const char* Module = "kiln/base/StringIFlow";
}

TEST(StringIFlowTest, ReadsOnlyItsOwnWidthAndStopsAtTheEnd)
{
    const char text[] = "ab";
    StringIFlow<char> flow(text, 2);
    EXPECT_EQ(flow.widths(), 1u);
    EXPECT_TRUE(flow.isFresh());
    EXPECT_IO_EXCEPTION(flow.read16(), IOException::WidthNotCarried, Module);
    EXPECT_IO_EXCEPTION(flow.read32(), IOException::WidthNotCarried, Module);
    EXPECT_EQ(flow.read8(), 'a');
    EXPECT_FALSE(flow.isFresh());
    EXPECT_EQ(flow.read8(), 'b');
    EXPECT_IO_EXCEPTION(flow.read8(), IOException::EndOfInput, Module);
    // A failed read consumes nothing and the flow rewinds on reset.
    EXPECT_TRUE(flow.reset());
    EXPECT_TRUE(flow.isFresh());
    EXPECT_EQ(flow.read8(), 'a');

    const unsigned int wide[] = {0x1F600, 0x41};
    StringIFlow<unsigned int> flow32(wide, 2);
    EXPECT_IO_EXCEPTION(flow32.read8(), IOException::WidthNotCarried, Module);
    EXPECT_EQ(flow32.read32(), 0x1F600u);
}

TEST(StringIFlowTest, ClosedAndNullFlowsRaiseNotOpen)
{
    StringIFlow<unsigned short> none(nullptr, 5);
    EXPECT_FALSE(none.isOpen());
    EXPECT_FALSE(none.reset());
    EXPECT_IO_EXCEPTION(none.read16(), IOException::NotOpen, Module);

    const unsigned short text[] = {1, 2};
    StringIFlow<unsigned short> flow(text, 2);
    EXPECT_TRUE(flow.close());
    EXPECT_FALSE(flow.close());
    EXPECT_IO_EXCEPTION(flow.read16(), IOException::NotOpen, Module);
}

TEST(StringIFlowTest, BlockReadDeliversWhatIsLeftBeforeRaisingEndOfInput)
{
    TString<unsigned short> text;
    for (unsigned short u = 1; u <= 5; ++u)
        text.append(u);
    StringIFlow<unsigned short> flow(text);
    unsigned short block[8] = {};
    uint32_t got = 99;
    flow.readBlock16(3, block, got);
    EXPECT_EQ(got, 3u);
    EXPECT_IO_EXCEPTION(flow.readBlock16(8, block, got), IOException::EndOfInput, Module);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(block[0], 4);
    EXPECT_EQ(block[1], 5);
    EXPECT_IO_EXCEPTION(flow.readBlock8(1, reinterpret_cast<uint8_t*>(block), got), IOException::WidthNotCarried,
                        Module);
    EXPECT_EQ(got, 0u);
}
