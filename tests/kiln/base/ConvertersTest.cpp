#include "EncodingTestSupport.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/FromSjisToUcs2.h"
#include "kiln/base/StringIFlow.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

using namespace KILN;
using KILN::test::convertBytes;
using KILN::test::utf16;
using KILN::test::utf32;

namespace {

class ConvertersTest : public ::testing::Test {
protected:
    void SetUp() override { EncodingRegistry::lifeCycle(true); }
    void TearDown() override { EncodingRegistry::lifeCycle(false); }

    static int32_t id(const char* name) { return EncodingRegistry::idOf(name); }
};

// glibc's view of some bytes, for the cases checked against it.
std::string iconvConvert(const char* to, const char* from, const std::string& input)
{
    iconv_t cd = iconv_open(to, from);
    std::string out(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        return "(iconv failed)";
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

TEST_F(ConvertersTest, ByteOrderMarksOfUtf8)
{
    EXPECT_EQ(convertBytes(7, 10, "\xEF\xBB\xBF" "A"), utf16({0x41}));
    EXPECT_EQ(convertBytes(10, 7, utf16({0x41})), "\xEF\xBB\xBF" "A");
    EXPECT_EQ(convertBytes(10, 8, utf16({0x41})), "A");
    // Only the first mark is optional; a second one is text.
    EXPECT_EQ(convertBytes(7, 10, "\xEF\xBB\xBF\xEF\xBB\xBF" "A"), utf16({0xFEFF, 0x41}));
    EXPECT_EQ(convertBytes(7, 8, "\xEF\xBB\xBF" "A"), "A");
    // A partial mark is delivered unchanged, also at the end of input.
    EXPECT_EQ(convertBytes(7, 8, "\xEF\xBB" "A"), "\xEF\xBB" "A");
    EXPECT_EQ(convertBytes(7, 8, "\xEF\xBB"), "\xEF\xBB");
    EXPECT_EQ(convertBytes(7, 8, "A\xEF\xBB\xBF"), "A\xEF\xBB\xBF");
    EXPECT_EQ(convertBytes(8, 7, ""), "\xEF\xBB\xBF");
    EXPECT_EQ(convertBytes(7, 8, ""), "");
}

TEST_F(ConvertersTest, ByteOrderMarksOfUtf16AndUtf32)
{
    // A mark in machine order is dropped; a swapped one switches to swapping.
    EXPECT_EQ(convertBytes(9, 10, utf16({0xFEFF, 0x3042})), utf16({0x3042}));
    EXPECT_EQ(convertBytes(9, 10, utf16({0xFFFE, 0x4230, 0x4100})), utf16({0x3042, 0x41}));
    EXPECT_EQ(convertBytes(9, 10, utf16({0x3042, 0xFEFF})), utf16({0x3042, 0xFEFF}));
    EXPECT_EQ(convertBytes(10, 9, utf16({0x41})), utf16({0xFEFF, 0x41}));
    EXPECT_EQ(convertBytes(11, 12, utf32({0xFFFE0000, 0x42300000})), utf32({0x3042}));
    EXPECT_EQ(convertBytes(12, 11, utf32({0x41})), utf32({0xFEFF, 0x41}));
    // Big-endian forms, with and without marks, as bytes.
    EXPECT_EQ(convertBytes(10, 13, utf16({0x3042})), "\x30\x42");
    EXPECT_EQ(convertBytes(10, 15, utf16({0x3042})), std::string("\xFE\xFF\x30\x42", 4));
    EXPECT_EQ(convertBytes(10, 16, utf16({0x3042})), std::string("\xFF\xFE\x42\x30", 4));
    EXPECT_EQ(convertBytes(10, 19, utf16({0x41})), std::string("\0\0\xFE\xFF\0\0\0\x41", 8));
    EXPECT_EQ(convertBytes(15, 10, std::string("\xFE\xFF\x30\x42", 4)), utf16({0x3042}));
    EXPECT_EQ(convertBytes(20, 10, std::string("\xFF\xFE\0\0\x41\0\0\0", 8)), utf16({0x41}));
    EXPECT_EQ(convertBytes(3, 2, "\x30\x42"), utf16({0x3042}));
    EXPECT_EQ(convertBytes(5, 4, std::string("\0\x01\xF6\0", 4)), utf32({0x1F600}));
}

TEST_F(ConvertersTest, SurrogatesIntoUtf8)
{
    EXPECT_EQ(convertBytes(10, 8, utf16({0xD83D, 0xDE00})), "\xF0\x9F\x98\x80");
    // A lone high surrogate is dropped alone: the unit after it survives.
    EXPECT_EQ(convertBytes(10, 8, utf16({0xD800, 0x41})), "A");
    EXPECT_EQ(convertBytes(10, 8, utf16({0x61, 0xD800, 0x3042, 0x62})), "a\xE3\x81\x82" "b");
    EXPECT_EQ(convertBytes(10, 8, utf16({0xD800, 0xD83D, 0xDE00})), "\xF0\x9F\x98\x80");
    EXPECT_EQ(convertBytes(10, 8, utf16({0x41, 0xD800})), "A");
    EXPECT_EQ(convertBytes(2, 8, utf16({0xDBFF, 0x42})), "B");
    EXPECT_EQ(convertBytes(10, 7, utf16({0xD800, 0x41})), "\xEF\xBB\xBF" "A");
    // A lone low surrogate is written as a three-byte sequence.
    EXPECT_EQ(convertBytes(10, 8, utf16({0xDC00, 0x41})), "\xED\xB0\x80" "A");
}

TEST_F(ConvertersTest, SurrogatesFromUtf8AndUcs4)
{
    EXPECT_EQ(convertBytes(8, 10, "\xF0\x9F\x98\x80" "A"), utf16({0xD83D, 0xDE00, 0x41}));
    // Beyond U+10FFFF: U+FFFD, decoding goes on after the sequence.
    EXPECT_EQ(convertBytes(8, 10, "\xF4\x90\x80\x80" "A"), utf16({0xFFFD, 0x41}));
    EXPECT_EQ(convertBytes(4, 10, utf32({0x1F600, 0x110000, 0x41})), utf16({0xD83D, 0xDE00, 0x41}));
    EXPECT_EQ(convertBytes(10, 4, utf16({0xD83D, 0xDE00, 0x41})), utf32({0x1F600, 0x41}));
    // Lone surrogates reach UCS-4 as their own values, nothing is lost.
    EXPECT_EQ(convertBytes(10, 4, utf16({0xD800, 0x41, 0xD801})), utf32({0xD800, 0x41, 0xD801}));
    EXPECT_EQ(convertBytes(10, 4, utf16({0xD800, 0xD83D, 0xDE00})), utf32({0xD800, 0x1F600}));
    EXPECT_EQ(convertBytes(4, 12, utf32({0x10FFFF, 0x110000})), utf32({0x10FFFF}));
}

// The four-byte sequence used to leave its fourth byte to be decoded as a
// character of its own.
TEST_F(ConvertersTest, Utf8NToUcs2ConsumesWholeFourByteSequence)
{
    EXPECT_EQ(convertBytes(8, 2, "a\xF0\x9F\x98\x80" "b"), utf16({0x61, 0x62}));
    EXPECT_EQ(convertBytes(8, 2, "\xE3\x81\x82\xEF\xBB\xBF"), utf16({0x3042, 0xFEFF}));
    EXPECT_EQ(convertBytes(8, 2, "\xC3\xA9"), utf16({0xE9}));
}

// A bad lead byte used to take the ASCII bytes after it as its continuation
// bytes, so "bad\xFFdir" lost "dir" and markup after a stray byte vanished.
TEST_F(ConvertersTest, MalformedUtf8SwallowsNoFollowingText)
{
    for (int32_t to : {10, 2}) {
        EXPECT_EQ(convertBytes(7, to, "bad\xFF" "dir"), utf16({'b', 'a', 'd', 0xFFFD, 'd', 'i', 'r'})) << to;
        EXPECT_EQ(convertBytes(7, to, "\x80<p>"), utf16({0xFFFD, '<', 'p', '>'})) << to;
        EXPECT_EQ(convertBytes(7, to, "\xE3\x81<\xE3\x81\x82"), utf16({0xFFFD, '<', 0x3042})) << to;
        // The byte that ends a bad sequence may begin a good one, or another bad one.
        EXPECT_EQ(convertBytes(7, to, "\xC3\xE3\x81\x82\xC3\xC3\xA9"), utf16({0xFFFD, 0x3042, 0xFFFD, 0xE9})) << to;
    }
    EXPECT_EQ(convertBytes(7, 10, "\xF0\x9F\x98" "a\xF0\x9F\x98\x80"), utf16({0xFFFD, 'a', 0xD83D, 0xDE00}));
}

TEST_F(ConvertersTest, TruncatedSequencesEndQuietly)
{
    EXPECT_EQ(convertBytes(8, 10, "A\xE3\x81"), utf16({0x41}));
    EXPECT_EQ(convertBytes(23, 2, "A\x82"), utf16({0x41}));
    EXPECT_EQ(convertBytes(22, 23, "A\xA4"), "A");
    EXPECT_EQ(convertBytes(6, 2, "A+ME"), utf16({0x41}));
}

TEST_F(ConvertersTest, Iso2022JpEscapes)
{
    const std::string aiueo = "\x1B$B$\"\x1B(B";
    EXPECT_EQ(convertBytes(2, 21, utf16({0x3042})), aiueo);
    EXPECT_EQ(convertBytes(10, 21, utf16({0x61, 0x3042, 0x3044, 0x62})), "a\x1B$B$\"$$\x1B(Bb");
    // Yen sign goes to JIS X 0201 Roman; a line feed returns to ASCII first.
    EXPECT_EQ(convertBytes(10, 21, utf16({0xA5, 0x0A})), "\x1B(J\\\x1B(B\n");
    // Half-width katakana has no place in ISO-2022-JP and is skipped.
    EXPECT_EQ(convertBytes(10, 21, utf16({0xFF71, 0x41})), "A");
    EXPECT_EQ(convertBytes(21, 10, "a\x1B$B$\"$$\x1B(Bb"), utf16({0x61, 0x3042, 0x3044, 0x62}));
    EXPECT_EQ(convertBytes(21, 10, "\x1B$@$\"\x1B(J!"), utf16({0x3042, 0x21}));
    EXPECT_EQ(convertBytes(21, 10, "\x1B(I1\x1B(B"), utf16({0xFF71}));
    // From Shift_JIS and EUC-JP directly.
    EXPECT_EQ(convertBytes(23, 21, "a\x82\xA0\xB1"), "a\x1B$B$\"\x1B(B");
    EXPECT_EQ(convertBytes(22, 21, "\xA4\xA2\x8E\xB1\x8F\xB0\xA1z"), "\x1B$B$\"\x1B(Bz");
    EXPECT_EQ(convertBytes(21, 23, aiueo), "\x82\xA0");
    EXPECT_EQ(convertBytes(21, 22, "\x1B(I1\x1B(B"), "\x8E\xB1");
}

TEST_F(ConvertersTest, EucJpAndShiftJisArithmeticRoundTrips)
{
    test::ChainRunner toSjis(22, 23);
    test::ChainRunner toEuc(23, 22);
    for (int row = 0xA1; row <= 0xFE; ++row) {
        for (int cell = 0xA1; cell <= 0xFE; ++cell) {
            const std::string euc{static_cast<char>(row), static_cast<char>(cell)};
            const std::string sjis = toSjis.run(euc);
            ASSERT_EQ(sjis.size(), 2u);
            ASSERT_EQ(toEuc.run(sjis), euc);
        }
    }
    EXPECT_EQ(convertBytes(23, 22, "\xB1"), "\x8E\xB1");
    EXPECT_EQ(convertBytes(22, 23, "\x8E\xB1"), "\xB1");
    // JIS X 0212 has no Shift_JIS code: the three bytes are skipped together.
    EXPECT_EQ(convertBytes(22, 23, "\x8F\xB0\xA1" "A"), "A");
    // The user-defined rows of Shift_JIS have no EUC-JP code.
    EXPECT_EQ(convertBytes(23, 22, "\xF0\x40" "A"), "A");
}

// Vendor rows and the user-defined area used to land on arithmetic neighbours.
TEST_F(ConvertersTest, EucJpMsAndCp932GoThroughTheCharacter)
{
    const std::string necIbm = "\xED\x40";      // U+7E8A in the NEC-selected rows
    const std::string ibm = "\xFA\x5C";         // U+7E8A in the IBM rows
    const std::string userDefined = "\xF0\x40"; // U+E000
    for (const std::string& code : {necIbm, ibm, userDefined}) {
        const std::string ms = convertBytes(37, 38, code);
        EXPECT_EQ(iconvConvert("UTF-16LE", "EUC-JP-MS", ms), iconvConvert("UTF-16LE", "CP932", code));
        EXPECT_EQ(iconvConvert("UTF-16LE", "CP932", convertBytes(38, 37, ms)),
                  iconvConvert("UTF-16LE", "CP932", code));
    }
    EXPECT_EQ(convertBytes(37, 38, "\x87\x40"), "\xAD\xA1"); // circled digit one, NEC row 13
    EXPECT_EQ(convertBytes(38, 37, "\x8F\xB0\xA1" "A"), "A"); // U+4E02, which code page 932 lacks
}

TEST_F(ConvertersTest, DoubleByteDecodersMarkUnmappedPairs)
{
    EXPECT_EQ(convertBytes(23, 2, "\x82\xA0\xB1" "A\x0A"), utf16({0x3042, 0xFF71, 0x41, 0x0A}));
    EXPECT_EQ(convertBytes(23, 2, "\x85\x40"), utf16({0xFFFF}));
    // A broken pair loses no line break: the lead alone answers FFFF.
    EXPECT_EQ(convertBytes(23, 2, "\x82\x0A" "A"), utf16({0xFFFF, 0x0A, 0x41}));
    EXPECT_EQ(convertBytes(37, 2, "\x88\x0D\x0A"), utf16({0xFFFF, 0x0D, 0x0A}));
    EXPECT_EQ(convertBytes(23, 2, "\x80\xA0\xFD" "A"), utf16({0x41}));
    EXPECT_EQ(convertBytes(37, 2, "\x87\x40\xED\x40"), utf16({0x2460, 0x7E8A}));
    EXPECT_EQ(convertBytes(37, 2, "\xA0\x41"), utf16({0xFFFF}));
    EXPECT_EQ(convertBytes(2, 37, utf16({0x3042, 0x41, 0xFF71, 0x20AC})), "\x82\xA0" "A\xB1");
    EXPECT_EQ(convertBytes(2, 23, utf16({0x7F, 0x1F, 0x7E8A})), "\x7F\x1F");
}

TEST_F(ConvertersTest, SingleByteEncodings)
{
    EXPECT_EQ(convertBytes(24, 8, "caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(convertBytes(10, 24, utf16({0x63, 0xE9, 0x3042})), "c\xE9");
    // Each part encodes its own repertoire (not that of ISO 8859-1).
    EXPECT_EQ(convertBytes(10, 25, utf16({0x141, 0xE9})), "\xA3\xE9");
    EXPECT_EQ(convertBytes(10, 28, utf16({0x416, 0xE9})), "\xB6");
    EXPECT_EQ(convertBytes(4, 36, utf32({0x20AC})), "\xA4");
    EXPECT_EQ(convertBytes(24, 25, "\xE9\xA3"), "\xE9");
    // Unassigned bytes of a part are skipped; US-ASCII keeps seven bits.
    EXPECT_EQ(convertBytes(29, 10, "\xA1" "A"), utf16({0x41}));
    EXPECT_EQ(convertBytes(24, 1, "a\xE9" "b"), "ab");
    EXPECT_EQ(convertBytes(39, 10, "\x80\x81\x7F"), utf16({0x20AC, 0xFFFF, 0x7F}));
    EXPECT_EQ(convertBytes(10, 39, utf16({0x20AC, 0x3042})), "\x80");
}

TEST_F(ConvertersTest, Utf7)
{
    // Decoding the examples of the UTF-7 definition.
    EXPECT_EQ(convertBytes(6, 10, "A+ImIDkQ."), utf16({0x41, 0x2262, 0x391, 0x2E}));
    EXPECT_EQ(convertBytes(6, 10, "Hi Mom -+Jjo--!"), utf16({'H', 'i', ' ', 'M', 'o', 'm', ' ', '-', 0x263A, '-', '!'}));
    EXPECT_EQ(convertBytes(6, 10, "+ZeVnLIqe-"), utf16({0x65E5, 0x672C, 0x8A9E}));
    EXPECT_EQ(convertBytes(6, 10, "1 +- 1"), utf16({'1', ' ', '+', ' ', '1'}));
    EXPECT_EQ(convertBytes(10, 6, utf16({'1', '+', '1'})), "1+-1");
    EXPECT_EQ(convertBytes(10, 6, utf16({0x65E5, 0x672C, 0x8A9E})), "+ZeVnLIqe-");
    // Our output reads back through glibc, including runs closed at the end.
    // (The chain from UTF-16 passes UCS-4 and UCS-2, so only the BMP gets here.)
    const std::string text = utf16({'a', 0x3042, '-', '!', 0xFF5E, ' ', '~', '\\', 0x20AC});
    const std::string encoded = convertBytes(10, 6, text);
    EXPECT_EQ(iconvConvert("UTF-16LE", "UTF-7", encoded), text);
    EXPECT_EQ(convertBytes(6, 10, encoded), text);
}

// Each BMP character alone, both ways, against glibc: UTF-8 and UTF-7.
TEST_F(ConvertersTest, UnicodeFormsAgreeWithIconvOnEveryBmpCharacter)
{
    test::ChainRunner toUtf8(10, 8);
    test::ChainRunner fromUtf8(8, 10);
    test::ChainRunner toUtf7(10, 6);
    test::ChainRunner fromUtf7(6, 10);
    for (uint32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::string unit = utf16({static_cast<uint16_t>(c)});
        const std::string utf8 = iconvConvert("UTF-8", "UTF-16LE", unit);
        ASSERT_EQ(toUtf8.run(unit), utf8) << std::hex << c;
        ASSERT_EQ(fromUtf8.run(utf8), unit) << std::hex << c;
        ASSERT_EQ(iconvConvert("UTF-16LE", "UTF-7", toUtf7.run(unit)), unit) << std::hex << c;
        ASSERT_EQ(fromUtf7.run(iconvConvert("UTF-7", "UTF-16LE", unit)), unit) << std::hex << c;
    }
    const std::string pair = utf16({0xDBFF, 0xDFFF});
    EXPECT_EQ(toUtf8.run(pair), iconvConvert("UTF-8", "UTF-16LE", pair));
    EXPECT_EQ(fromUtf8.run(iconvConvert("UTF-8", "UTF-16LE", pair)), pair);
}

TEST_F(ConvertersTest, ConvertersCarryOnlyTheirOutputWidth)
{
    const char bytes[] = "A";
    StringIFlow<char> source(bytes, 1);
    FromSjisToUcs2 converter;
    converter.attach(&source);
    try {
        converter.read8();
        FAIL() << "a byte read from a 16-bit converter";
    } catch (const IOException& e) {
        EXPECT_EQ(e.code(), IOException::WidthNotCarried);
    }
    EXPECT_EQ(converter.read16(), 0x41);
    try {
        converter.read16();
        FAIL() << "read past the end";
    } catch (const IOException& e) {
        EXPECT_EQ(e.code(), IOException::EndOfInput);
    }
}

TEST_F(ConvertersTest, ChainsStartAfreshOnReset)
{
    std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(10, 21));
    const unsigned short text[] = {0x3042};
    StringIFlow<unsigned short> source(text, 1);
    chain->attach(&source);
    std::string first;
    try {
        for (;;)
            first += static_cast<char>(chain->read8());
    } catch (const IOException&) {
    }
    EXPECT_EQ(first, "\x1B$B$\"\x1B(B");
    ASSERT_TRUE(chain->reset());
    std::string second;
    try {
        for (;;)
            second += static_cast<char>(chain->read8());
    } catch (const IOException&) {
    }
    EXPECT_EQ(second, first);
}

TEST_F(ConvertersTest, OverlongUtf8FormsDecodeToReplacementNotAscii)
{
    for (int32_t to : {10, 2}) {
        // Overlong '<', '>', '"', '/' and NUL hide markup from byte-level filters.
        EXPECT_EQ(convertBytes(7, to, "<r>\xC0\xBC" "b/\xC0\xBE</r>"),
                  utf16({'<', 'r', '>', 0xFFFD, 'b', '/', 0xFFFD, '<', '/', 'r', '>'})) << to;
        EXPECT_EQ(convertBytes(7, to, "a\xC0\xA2" "b\xC1\xBF"), utf16({'a', 0xFFFD, 'b', 0xFFFD})) << to;
        EXPECT_EQ(convertBytes(7, to, "\xE0\x80\xAF|\xE0\x9F\xBF|\xF0\x80\x80\xAF|\xF0\x8F\xBF\xBF"),
                  utf16({0xFFFD, '|', 0xFFFD, '|', 0xFFFD, '|', 0xFFFD})) << to;
        // Encoded surrogates, values beyond U+10FFFF and leads that begin no sequence.
        EXPECT_EQ(convertBytes(7, to, "\xED\xA0\x80\xED\xBF\xBF" "a"), utf16({0xFFFD, 0xFFFD, 'a'})) << to;
        EXPECT_EQ(convertBytes(7, to, "\xF4\x90\x80\x80\xF7\xBF\xBF\xBF" "a"), utf16({0xFFFD, 0xFFFD, 'a'})) << to;
        EXPECT_EQ(convertBytes(7, to, "\x80\x80\xBF\xF8\xFF" "a"), utf16({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 'a'}))
            << to;
        // The edges of each length stay valid.
        EXPECT_EQ(convertBytes(7, to, "\xC2\x80\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"), utf16({0x80, 0x800, 0xD7FF, 0xE000}))
            << to;
    }
    EXPECT_EQ(convertBytes(7, 10, "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"), utf16({0xD800, 0xDC00, 0xDBFF, 0xDFFF}));
    // Stray continuation bytes never decode to U+0000 inside a word.
    EXPECT_EQ(convertBytes(8, 4, "\xF0\xA0\xAE\xB7\x80\x80\xE9\x87\x8E"), utf32({0x20BB7, 0xFFFD, 0xFFFD, 0x91CE}));
}

TEST_F(ConvertersTest, UnicodeChainsKeepCharactersAboveFfff)
{
    const std::string utf8 = "a\xF0\xA0\xAE\xB7" "b\xF0\x9F\x98\x80";
    const std::string ucs4 = convertBytes(8, 4, utf8);
    EXPECT_EQ(ucs4, utf32({'a', 0x20BB7, 'b', 0x1F600}));
    EXPECT_EQ(convertBytes(4, 8, ucs4), utf8);
    EXPECT_EQ(convertBytes(4, 10, ucs4), utf16({'a', 0xD842, 0xDFB7, 'b', 0xD83D, 0xDE00}));
    // UTF-7 writes the surrogate pairs, and every form reads them back.
    const std::string utf7 = convertBytes(8, 6, utf8);
    EXPECT_EQ(utf7, iconvConvert("UTF-7", "UTF-8", utf8));
    for (int32_t form = 4; form <= 20; ++form) {
        if (form == 6)
            continue;
        const std::string encoded = convertBytes(8, form, utf8);
        EXPECT_EQ(convertBytes(form, 6, encoded), utf7) << form;
        EXPECT_EQ(convertBytes(6, form, utf7), encoded) << form;
        EXPECT_EQ(convertBytes(form, 8, encoded), utf8) << form;
    }
}

TEST_F(ConvertersTest, EmDashEncodesAsCp932HorizontalBar)
{
    const std::string dashes = "\xE2\x80\x94\xE2\x80\x94\xE2\x80\x95";  // U+2014 U+2014 U+2015
    EXPECT_EQ(convertBytes(8, id("cp932"), dashes), "\x81\x5C\x81\x5C\x81\x5C");
    EXPECT_EQ(convertBytes(8, id("eucJP-MS"), dashes), "\xA1\xBD\xA1\xBD\xA1\xBD");
    EXPECT_EQ(convertBytes(8, id("cp932"), dashes), iconvConvert("CP932", "UTF-8", dashes));
    // One way: 81 5C decodes to U+2015 as before.
    EXPECT_EQ(convertBytes(id("cp932"), 8, "\x81\x5C"), "\xE2\x80\x95");
}
