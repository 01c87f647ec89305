#include "kiln/base/MemOFlow.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/TextWriter.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <memory>
#include <string>

using namespace KILN;

TEST(TextWriterTest, WritesUnitsAndStringsUntranslated)
{
    TString<char> out;
    StringOFlow<char> flow(&out);
    TextWriter<char> writer(&flow);
    writer.write('a');
    EXPECT_TRUE(writer.write("b\n"));
    const TString<char> text("0123456");
    EXPECT_TRUE(writer.write(text, 2, 3));
    EXPECT_FALSE(writer.write(text, 5, 3));
    EXPECT_FALSE(writer.write(text, 8, 0));
    EXPECT_TRUE(writer.write(text));
    uint32_t written = 0;
    writer.write("xyz", 2, written);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(std::string(out.data(), out.length()), "ab\n2340123456xy");
    EXPECT_FALSE(writer.isFresh());

    // Resetting the writer leaves what it wrote alone.
    EXPECT_TRUE(writer.reset());
    EXPECT_TRUE(writer.isFresh());
    EXPECT_EQ(out.length(), 15u);
}

TEST(TextWriterTest, SendsItsWidthOnlyAndNeedsATarget)
{
    TextWriter<unsigned short> writer;
    EXPECT_IO_EXCEPTION(writer.write(u'x'), IOException::NoTarget, "kiln/base/OFilter");
    const unsigned short units[] = {0x3042, 0};
    EXPECT_IO_EXCEPTION(writer.write(units), IOException::NoTarget, "kiln/base/OFilter");

    MemOFlow memory;
    writer.attach(&memory);
    EXPECT_TRUE(writer.write(units));
    const uint8_t bytes[] = {1, 2};
    uint32_t written = 0;
    EXPECT_IO_EXCEPTION(writer.writeBlock8(2, bytes, written), IOException::WidthNotCarried, "kiln/base/TOFilter");
    EXPECT_IO_EXCEPTION(writer.write32(1), IOException::WidthNotCarried, "kiln/base/TOFilter");
    ASSERT_EQ(memory.length(), 2u);
    EXPECT_EQ(memory.data()[0], 0x42);
    EXPECT_EQ(memory.data()[1], 0x30);
}

TEST(TextWriterTest, FormattedOutputGoesToTheTarget)
{
    TString<char> out;
    StringOFlow<char> flow(&out);
    TextWriter<char> writer(&flow);
    EXPECT_EQ(writer.format("ERROR: %03d %s\n", 7, "bad"), 15);
    EXPECT_EQ(writer.formatN("%c%c|ignored", 4, 'o', 'k'), 2);
    // The formatter's own pass over arguments added one by one.
    writer.setFormat("[%{2}s%{1}d]");
    writer.addInt(1);
    writer.addString("x");
    std::unique_ptr<TString<char>> pass(writer.format(true));
    EXPECT_TRUE(writer.write(*pass));
    EXPECT_EQ(std::string(out.data(), out.length()), "ERROR: 007 bad\nok[x1]");

    TextWriter<char> detached;
    EXPECT_IO_EXCEPTION(detached.format("%d", 1), IOException::NoTarget, "kiln/base/OFilter");
    EXPECT_THROW(writer.format("%q", 1), FmtException);
    EXPECT_EQ(writer.argumentCount(), 0u);
}
