#include "kiln/base/LinkList.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/TextReader.h"

#include "tests/kiln/base/ExpectIOException.h"

#include <memory>
#include <string>

using namespace KILN;

namespace {

constexpr const char* Module = "kiln/base/TextReader";

// ASCII text widened to units of T.
template <class T>
TString<T> units(const std::string& ascii)
{
    TString<T> text;
    for (char c : ascii)
        text.append(static_cast<T>(c));
    return text;
}

template <class T>
std::string ascii(const TString<T>* text)
{
    std::string s;
    for (uint32_t i = 0; i < text->length(); ++i)
        s += static_cast<char>((*text)[i]);
    delete text;
    return s;
}

// A reader over its own copy of an ASCII text.
template <class T>
struct Reading {
    explicit Reading(const std::string& text) : source(units<T>(text)), flow(source), reader(&flow) {}
    std::string rest() { return ascii(reader.readAll()); }

    TString<T> source;
    StringIFlow<T> flow;
    TextReader<T> reader;
};

template <class T>
class TextReaderTest : public testing::Test {};

using UnitTypes = testing::Types<char, unsigned short, unsigned int>;
TYPED_TEST_SUITE(TextReaderTest, UnitTypes);

} // namespace

TYPED_TEST(TextReaderTest, LinesEndWithTheLastPartialLineThenNull)
{
    Reading<TypeParam> r("one\r\ntwo\nlast");
    EXPECT_EQ(ascii(r.reader.readLine()), "one\r\n");
    EXPECT_EQ(r.reader.line(), 1u);
    EXPECT_EQ(ascii(r.reader.readLine()), "two\n");
    EXPECT_EQ(ascii(r.reader.readLine()), "last");
    EXPECT_EQ(r.reader.readLine(), nullptr);
    EXPECT_EQ(r.reader.line(), 2u);
}

TYPED_TEST(TextReaderTest, LineCountFollowsPushbackAndReset)
{
    Reading<TypeParam> r("\nx");
    EXPECT_EQ(r.reader.read(), 10u);
    EXPECT_EQ(r.reader.line(), 1u);
    r.reader.unread(10);
    EXPECT_EQ(r.reader.line(), 0u);
    EXPECT_EQ(r.reader.read(), 10u);
    r.reader.unreadRaw(10);
    EXPECT_EQ(r.reader.line(), 1u);
    EXPECT_EQ(r.reader.read(), 10u);
    EXPECT_EQ(r.reader.line(), 2u);
    EXPECT_TRUE(r.reader.reset());
    EXPECT_EQ(r.reader.line(), 0u);
    EXPECT_EQ(r.rest(), "\nx");
}

TYPED_TEST(TextReaderTest, KeywordMismatchLeavesEverythingToReadAgain)
{
    Reading<TypeParam> r("abd");
    EXPECT_FALSE(r.reader.matchKeyword(units<TypeParam>("abc")));
    EXPECT_FALSE(r.reader.matchKeyword(units<TypeParam>("")));
    EXPECT_TRUE(r.reader.matchKeyword(units<TypeParam>("ab")));
    EXPECT_FALSE(r.reader.matchUnit('x'));
    EXPECT_TRUE(r.reader.matchUnit('d'));
    EXPECT_IO_EXCEPTION(r.reader.matchUnit('d'), IOException::EndOfInput, "kiln/base/StringIFlow");
}

TYPED_TEST(TextReaderTest, KeywordCutShortByTheEndRaisesButKeepsTheUnits)
{
    Reading<TypeParam> r("ab");
    EXPECT_IO_EXCEPTION(r.reader.matchKeyword(units<TypeParam>("abc")), IOException::EndOfInput,
                        "kiln/base/StringIFlow");
    EXPECT_EQ(r.rest(), "ab");
}

TYPED_TEST(TextReaderTest, AnyKeywordAnswersTheFirstToComplete)
{
    const TString<TypeParam> ab = units<TypeParam>("ab");
    const TString<TypeParam> a = units<TypeParam>("a");
    const TString<TypeParam> xy = units<TypeParam>("xy");
    const TypeParam* keywords[] = {ab.data(), nullptr};
    LinkList<TString<TypeParam>> list;
    list.add(const_cast<TString<TypeParam>*>(&xy));
    list.add(const_cast<TString<TypeParam>*>(&ab));
    list.add(const_cast<TString<TypeParam>*>(&a));

    Reading<TypeParam> r("abc");
    EXPECT_EQ(r.reader.matchAnyKeyword(list), 3u);
    EXPECT_EQ(r.rest(), "bc");

    Reading<TypeParam> none("xab");
    EXPECT_EQ(none.reader.matchAnyKeyword(list), 0u);
    const TypeParam* empty[] = {nullptr};
    EXPECT_EQ(none.reader.matchAnyKeyword(empty), 0u);
    EXPECT_EQ(none.rest(), "xab");

    // Terminated with the zero unit, the array form needs terminated copies.
    TString<TypeParam> abz(ab);
    keywords[0] = abz.zeroTerminated();
    Reading<TypeParam> array("abab");
    EXPECT_EQ(array.reader.matchAnyKeyword(keywords), 1u);
    EXPECT_EQ(array.rest(), "ab");
}

TYPED_TEST(TextReaderTest, ReadUpToTerminators)
{
    Reading<TypeParam> r("a-->b");
    EXPECT_EQ(ascii(r.reader.readUpTo(units<TypeParam>("-->"))), "a");
    EXPECT_EQ(r.rest(), "b");

    // A terminator starting inside a partial match of itself is found.
    Reading<TypeParam> overlap("x]]]>y aaab!");
    EXPECT_EQ(ascii(overlap.reader.readUpTo(units<TypeParam>("]]>"))), "x]");
    EXPECT_EQ(ascii(overlap.reader.readUpTo(units<TypeParam>("aab"))), "y a");
    EXPECT_EQ(overlap.rest(), "!");

    // The first terminator to complete wins, whatever its place in the list.
    TString<TypeParam> abcd = units<TypeParam>("abcd");
    TString<TypeParam> bc = units<TypeParam>("bc");
    const TypeParam* terminators[] = {abcd.zeroTerminated(), bc.zeroTerminated(), nullptr};
    Reading<TypeParam> any("zabcd");
    EXPECT_EQ(ascii(any.reader.readUpToAny(terminators)), "za");
    EXPECT_EQ(any.rest(), "d");
}

TYPED_TEST(TextReaderTest, ReadUpToFailures)
{
    Reading<TypeParam> r("abc");
    const TypeParam* none[] = {nullptr};
    EXPECT_IO_EXCEPTION(r.reader.readUpToAny(none), IOException::InvalidArgument, Module);
    EXPECT_IO_EXCEPTION(r.reader.readUpTo(units<TypeParam>("")), IOException::InvalidArgument, Module);
    EXPECT_IO_EXCEPTION(r.reader.readUpTo(r.source.data(), 0), IOException::InvalidArgument, Module);
    EXPECT_EQ(ascii(r.reader.readUpToUnit('b')), "a");
    EXPECT_IO_EXCEPTION(r.reader.readUpToUnit('b'), IOException::EndOfInput, "kiln/base/StringIFlow");

    TextReader<TypeParam> detached;
    EXPECT_IO_EXCEPTION(detached.read(), IOException::NoSource, Module);
}

TYPED_TEST(TextReaderTest, RunsAndSpansStopAtTheFirstOtherUnit)
{
    Reading<TypeParam> r("   x12a21");
    EXPECT_EQ(ascii(r.reader.readRun(' ')), "   ");
    EXPECT_EQ(ascii(r.reader.readRun(' ')), "");
    EXPECT_TRUE(r.reader.matchUnit('x'));
    EXPECT_EQ(ascii(r.reader.readSpan(units<TypeParam>("0123456789"))), "12");
    EXPECT_TRUE(r.reader.matchUnit('a'));
    EXPECT_EQ(ascii(r.reader.readSpan(units<TypeParam>("12"))), "21");
    EXPECT_EQ(ascii(r.reader.readAll()), "");
}

TYPED_TEST(TextReaderTest, OtherWidthsAreRefused)
{
    Reading<TypeParam> r("a");
    if constexpr (sizeof(TypeParam) == 1)
        EXPECT_IO_EXCEPTION(r.reader.read32(), IOException::WidthNotCarried, "kiln/base/PushbackIFilter");
    else
        EXPECT_IO_EXCEPTION(r.reader.read8(), IOException::WidthNotCarried, "kiln/base/PushbackIFilter");
}

namespace {

// Passes its source through block by block, counting the block reads, and
// fails with code 8 once failAfter units went by.
class BlockCounter : public IFilter {
public:
    uint32_t blocks = 0;
    uint32_t failAfter = ~0u;

    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override
    {
        ++blocks;
        if (count > failAfter) {
            m_source->readBlock16(failAfter, dest, got);
            failAfter = ~0u;
            throw IOException("test", __LINE__, IOException::FileError);
        }
        m_source->readBlock16(count, dest, got);
    }
};

} // namespace

TEST(TextReaderReadAheadTest, OneBlockReadPer16384Units)
{
    TString<unsigned short> text;
    for (uint32_t i = 0; i < 40000; ++i)
        text.append(static_cast<unsigned short>(i % 50000 + 1));
    StringIFlow<unsigned short> flow(text);
    BlockCounter counter;
    counter.attach(&flow);
    TextReader<unsigned short> reader(&counter);
    std::unique_ptr<TString<unsigned short>> all(reader.readAll());
    EXPECT_TRUE(*all == text);
    // Three blocks carry the text; a fourth finds the end.
    EXPECT_EQ(counter.blocks, 4u);
    EXPECT_EQ(reader.pushbackCapacity(), 16384u);
}

TEST(TextReaderReadAheadTest, UnitsThatArrivedBeforeAFailureAreKept)
{
    const unsigned short units[] = {'a', 'b', 'c', 'd'};
    StringIFlow<unsigned short> flow(units, 4);
    BlockCounter failing;
    failing.failAfter = 2;
    failing.attach(&flow);
    TextReader<unsigned short> reader(&failing);
    EXPECT_IO_EXCEPTION(reader.read(), IOException::FileError, "test");
    EXPECT_EQ(reader.read(), 'a');
    EXPECT_EQ(reader.read(), 'b');
    EXPECT_EQ(reader.read(), 'c');
    EXPECT_EQ(reader.read(), 'd');
}
