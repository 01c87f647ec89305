#include "kiln/base/Exception.h"
#include "kiln/base/Formatter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>

using namespace KILN;

namespace {

std::string text(const TString<char>* s)
{
    return std::string(s->data(), s->length());
}

// Formats with the arguments the adders put in; answers the output.
template <class Add>
std::string run(const char* format, Add add)
{
    Formatter<char> f;
    f.setFormat(format);
    add(f);
    std::unique_ptr<TString<char>> out(f.format(true));
    return text(out.get());
}

// The code of the FmtException that formatting raises; -1 when none.
template <class Add>
int failure(const char* format, Add add)
{
    try {
        run(format, add);
    } catch (const FmtException& e) {
        EXPECT_STREQ(e.sourceFile(), "kiln/base/Formatter");
        EXPECT_GT(e.line(), 0);
        return e.code();
    }
    return -1;
}

struct IntCase {
    const char* format;
    int32_t value;
    const char* expected;
};

} // namespace

TEST(FormatterTest, SignedIntegersTakeFlagsWidthAndPrecision)
{
    const IntCase cases[] = {
        {"%d", 0, "0"},          {"%d", -42, "-42"},      {"%i", 42, "42"},
        {"%5.3d", 7, "  007"},   {"%-4d|", 7, "7   |"},   {"%+d", 7, "+7"},
        {"%+d", -7, "-7"},       {"% d", 7, " 7"},        {"%+ d", 7, "+7"},
        {"%05d", -42, "-0042"},  {"%+05d", 42, "+0042"},  {"% 05d", 42, " 0042"},
        {"%-05d|", 42, "42   |"}, {"%.0d", 0, ""},        {"%3.0d|", 0, "   |"},
        {"%+.0d", 0, "+"},       {"%.5d", -42, "-00042"}, {"%08.3d", 42, "     042"},
        {"%d", INT32_MIN, "-2147483648"}, {"%1d", 123, "123"},
        {"a%db", 5, "a5b"},
    };
    for (const IntCase& c : cases)
        EXPECT_EQ(run(c.format, [&](auto& f) { f.addInt(c.value); }), c.expected) << c.format;
}

TEST(FormatterTest, UnsignedConversionsInDecimalOctalAndHex)
{
    struct Case {
        const char* format;
        uint32_t value;
        const char* expected;
    } cases[] = {
        {"%u", 4294967295u, "4294967295"}, {"%o", 8, "10"},       {"%#o", 8, "010"},
        {"%#o", 0, "0"},                   {"%x", 255, "ff"},     {"%X", 255, "FF"},
        {"%#x", 255, "0xff"},              {"%#X", 255, "0XFF"},  {"%#x", 0, "0"},
        {"%0#8x", 255, "0x0000ff"},      {"%#08x", 255, "    0xff"},        {"%8.4x|", 255, "    00ff|"}, {"%-#6x|", 10, "0xa   |"},
        {"%+u", 5, "5"},                   {"% x", 5, "5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.format, [&](auto& f) { f.addUnsignedInt(c.value); }), c.expected) << c.format;
}

TEST(FormatterTest, LongConversionsCarry64Bits)
{
    EXPECT_EQ(run("%ld", [](auto& f) { f.addLong(INT64_MIN); }), "-9223372036854775808");
    EXPECT_EQ(run("%li|%+ld", [](auto& f) { f.addLong(1LL << 40); f.addLong(5); }), "1099511627776|+5");
    EXPECT_EQ(run("%lu", [](auto& f) { f.addUnsignedLong(UINT64_MAX); }), "18446744073709551615");
    EXPECT_EQ(run("%020ld", [](auto& f) { f.addLong(-1); }), "-0000000000000000001");
    // The long flag and the argument type go together.
    EXPECT_EQ(failure("%d", [](auto& f) { f.addLong(1); }), 1);
    EXPECT_EQ(failure("%ld", [](auto& f) { f.addInt(1); }), 1);
    EXPECT_EQ(failure("%u", [](auto& f) { f.addUnsignedLong(1); }), 1);
}

TEST(FormatterTest, StringsAreCutToThePrecisionAndPadded)
{
    const TString<char> object("object");
    EXPECT_EQ(run("%s|%s", [&](auto& f) { f.addString("ab"); f.addString(object); }), "ab|object");
    EXPECT_EQ(run("%.3s|%5s|%-5s|%05s", [](auto& f) {
        f.addString("abcdef");
        f.addString("ab");
        f.addString("ab");
        f.addString("ab");
    }), "abc|   ab|ab   |000ab");
    EXPECT_EQ(run("%.2s", [&](auto& f) { f.addString(object); }), "ob");
    // A precision bounds the read: the array need not be terminated.
    const char unterminated[3] = {'x', 'y', 'z'};
    EXPECT_EQ(run("%.3s", [&](auto& f) { f.addString(unterminated); }), "xyz");
    EXPECT_EQ(run("%s", [](auto& f) { f.addString(static_cast<const char*>(nullptr)); }), "(null)");
}

TEST(FormatterTest, PositionsAndStarArguments)
{
    EXPECT_EQ(run("%{2}s %{1}s", [](auto& f) { f.addString("a"); f.addString("b"); }), "b a");
    EXPECT_EQ(run("%{2s%{1}s", [](auto& f) { f.addString("a"); f.addString("b"); }), "ba");  // '}' optional
    EXPECT_EQ(run("%{2}d %d", [](auto& f) { f.addInt(1); f.addInt(2); }), "2 2");  // the counter still advances
    EXPECT_EQ(run("%*d|", [](auto& f) { f.addInt(4); f.addInt(7); }), "   7|");
    EXPECT_EQ(run("%-*d|", [](auto& f) { f.addInt(3); f.addInt(7); }), "7  |");
    EXPECT_EQ(run("%*d|", [](auto& f) { f.addInt(-3); f.addInt(7); }), "7  |");
    EXPECT_EQ(run("%.*d|%d", [](auto& f) { f.addInt(3); f.addInt(7); f.addInt(8); }), "007|8");
    EXPECT_EQ(run("%.*s", [](auto& f) { f.addInt(-1); f.addString("abc"); }), "abc");
    EXPECT_EQ(run("%*.*d|", [](auto& f) { f.addInt(5); f.addInt(2); f.addInt(7); }), "   07|");
    EXPECT_EQ(run("%{2}*d %d", [](auto& f) { f.addInt(9); f.addInt(3); f.addInt(1); }), "  1 1");
    EXPECT_EQ(run("100%% %d%%", [](auto& f) { f.addInt(5); }), "100% 5%");
    EXPECT_EQ(run("100%%", [](auto&) {}), "100%");
    EXPECT_EQ(run("cut %5", [](auto&) {}), "cut ");
}

TEST(FormatterTest, RealsFollowTheRuntimeLibrary)
{
    const char* formats[] = {"%f", "%.2f", "%10.3f", "%-10.1e|", "%+E", "%g", "%G", "%#.0f", "%010.2f", "% .3g"};
    const double values[] = {0.0, 3.14159, -2.5e-7, 1e300, 123456789.0};
    for (const char* format : formats) {
        for (double value : values) {
            char expected[400];
            std::snprintf(expected, sizeof expected, format, value);
            EXPECT_EQ(run(format, [&](auto& f) { f.addDouble(value); }), expected) << format << " " << value;
        }
    }
    EXPECT_EQ(run("%.1f", [](auto& f) { f.addFloat(0.25f); }), "0.2");
    EXPECT_EQ(run("%5.1f|", [](auto& f) { f.addDouble(-1.0 / 0.0); }), " -inf|");
}

TEST(FormatterTest, CharactersPointersAndCounts)
{
    EXPECT_EQ(run("%c%c%c%c%c%c", [](auto& f) {
        f.addSignedChar('a');
        f.addUnsignedChar('b');
        f.addShort('c');
        f.addUnsignedShort('d');
        f.addInt('e');
        f.addUnsignedInt('f');
    }), "abcdef");
    EXPECT_EQ(run("%3c|%-3c|", [](auto& f) { f.addInt('x'); f.addInt('y'); }), "  x|y  |");
    int local = 0;
    char expected[40];
    std::snprintf(expected, sizeof expected, "%p", static_cast<void*>(&local));
    EXPECT_EQ(run("%p", [&](auto& f) { f.addPointer(&local); }), expected);
    EXPECT_EQ(run("%p", [&](auto& f) { f.addCountTarget(&local); }), expected);
    int32_t count = -1;
    EXPECT_EQ(run("abc%n%d", [&](auto& f) { f.addCountTarget(&count); f.addInt(12); }), "abc12");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(run("%{2}d%{1}n", [&](auto& f) { f.addCountTarget(&count); f.addInt(12345); }), "12345");
    EXPECT_EQ(count, 5);
}

TEST(FormatterTest, FailuresNameTheCode)
{
    EXPECT_EQ(run("%d-%s", [](auto& f) { f.addInt(5); f.addString("ab"); }), "5-ab");
    EXPECT_EQ(failure("%d-%s", [](auto& f) { f.addString("ab"); f.addInt(5); }), 1);
    EXPECT_EQ(failure("%d", [](auto&) {}), 0);
    EXPECT_EQ(failure("%d %d", [](auto& f) { f.addInt(1); }), 0);
    EXPECT_EQ(failure("%{0}d", [](auto& f) { f.addInt(1); }), 0);
    EXPECT_EQ(failure("%{3}d", [](auto& f) { f.addInt(1); }), 0);
    EXPECT_EQ(failure("%q", [](auto& f) { f.addInt(1); }), 4);
    EXPECT_EQ(failure("%\x7f", [](auto& f) { f.addInt(1); }), 4);
    EXPECT_EQ(failure("%0-5d", [](auto& f) { f.addInt(1); }), 4);  // flags only in their order
    EXPECT_EQ(failure("%lx", [](auto& f) { f.addUnsignedLong(1); }), 1);
    EXPECT_EQ(failure("%*d", [](auto&) {}), 0);
    EXPECT_EQ(failure("%*d", [](auto& f) { f.addUnsignedInt(3); f.addInt(1); }), 1);
    EXPECT_EQ(failure("%.*d", [](auto& f) { f.addString("x"); f.addInt(1); }), 1);
    EXPECT_EQ(failure("%s", [](auto& f) { f.addInt(1); }), 1);
    EXPECT_EQ(failure("%f", [](auto& f) { f.addInt(1); }), 1);
    EXPECT_EQ(failure("%n", [](auto& f) { f.addPointer(nullptr); }), 1);
    EXPECT_EQ(failure("%c", [](auto& f) { f.addString("x"); }), 1);
    EXPECT_EQ(failure("%p", [](auto& f) { f.addInt(1); }), 1);
}

TEST(FormatterTest, HugePaddingIsAnErrorNotGigabytesOfSpaces)
{
    // Found by fuzzing: "%333333333333g" padded to 2^31 units and hung.
    EXPECT_EQ(failure("%333333333333g", [](auto& f) { f.addDouble(1); }), 5);
    EXPECT_EQ(failure("%65536d", [](auto& f) { f.addInt(1); }), 5);
    EXPECT_EQ(failure("%.65536d", [](auto& f) { f.addInt(1); }), 5);
    EXPECT_EQ(failure("%*s", [](auto& f) { f.addInt(-70000); f.addString("x"); }), 5);
    EXPECT_EQ(run("%65535d", [](auto& f) { f.addInt(1); }).size(), 65535u);
    // A string's precision only cuts it: any value is fine.
    EXPECT_EQ(run("%.*s", [](auto& f) { f.addInt(1 << 30); f.addString("abc"); }), "abc");
}

TEST(FormatterTest, AFailedPassKeepsTheArguments)
{
    Formatter<char> f;
    f.setFormat("%s");
    f.addInt(1);
    EXPECT_THROW(delete f.format(true), FmtException);
    EXPECT_EQ(f.argumentCount(), 1u);
    f.setFormat("%d");
    std::unique_ptr<TString<char>> kept(f.format(false));
    EXPECT_EQ(text(kept.get()), "1");
    EXPECT_EQ(f.argumentCount(), 1u);
    std::unique_ptr<TString<char>> cleared(f.format(true));
    EXPECT_EQ(f.argumentCount(), 0u);
}

// The variadic forms, here through the string's formatting operations.
TEST(FormatterTest, PreScanReadsEveryConversionFromTheCall)
{
    TString<char> s;
    int32_t count = 0;
    int local = 0;
    char pointer[40];
    std::snprintf(pointer, sizeof pointer, "%p", static_cast<void*>(&local));
    const std::string before = "a-12|10 9 ff FF|1.5e+00 2.5E+00 3.2 0.5 1E+20|str|";
    s.format("%c%d%i|%o %u %x %X|%.1e %.1E %.1f %g %G|%s|%p|%n%%", 'a', -1, 2, 8u, 9u, 255u, 255u, 1.5, 2.5, 3.25,
             0.5, 1e20, "str", static_cast<void*>(&local), &count);
    EXPECT_EQ(text(&s), before + pointer + "|%");
    EXPECT_EQ(count, static_cast<int32_t>(before.size() + std::strlen(pointer) + 1));
    s.format("%*.*d|%ld|%lu|%li", 5, 3, 7, LONG_MIN, ULONG_MAX, -1L);
    EXPECT_EQ(text(&s), "  007|-9223372036854775808|18446744073709551615|-1");
}

// The arguments sit in the call in position order; reading them in directive
// order would take the int as a string pointer.
TEST(FormatterTest, PreScanReadsPositionalArgumentsInPositionOrder)
{
    TString<char> s;
    s.format("%{2}s=%{1}d", 42, "answer");
    EXPECT_EQ(text(&s), "answer=42");
    s.format("%{3}s %{1}d %{2}ld", 1, 2L, "x");
    EXPECT_EQ(text(&s), "x 1 2");
    s.format("%{1}s %{1}p", "same");
    EXPECT_EQ(text(&s).substr(0, 5), "same ");
    // A position that no directive names cannot be typed: collection ends there.
    EXPECT_THROW(s.format("%{2}d", 1, 2), FmtException);
    // Directives that disagree on a position's type end the collection there.
    try {
        s.format("%{1}d %{1}s", 1);
        ADD_FAILURE() << "no exception";
    } catch (const FmtException& e) {
        EXPECT_EQ(e.code(), 0);
    }
}

TEST(FormatterTest, PreScanStopsAtAnUnknownConversion)
{
    TString<char> s;
    try {
        s.format("%d %lx %d", 1, 2L, 3);
        ADD_FAILURE() << "no exception";
    } catch (const FmtException& e) {
        EXPECT_EQ(e.code(), 0);  // the pre-scan stopped at %lx: nothing from there on
    }
    try {
        s.format("%d %q", 1);
        ADD_FAILURE() << "no exception";
    } catch (const FmtException& e) {
        EXPECT_EQ(e.code(), 4);
    }
}

// All three widths run the same pass, unit for unit.
template <class T>
class FormatterWidths : public ::testing::Test {};
using Widths = ::testing::Types<char, unsigned short, unsigned int>;
TYPED_TEST_SUITE(FormatterWidths, Widths);

TYPED_TEST(FormatterWidths, SameOutputInEveryWidth)
{
    using T = TypeParam;
    auto widen = [](const char* s) {
        std::basic_string<T> out;
        for (; *s; ++s)
            out.push_back(static_cast<T>(static_cast<unsigned char>(*s)));
        return out;
    };
    const std::basic_string<T> format = widen("[%5.3d|%-4s|%#x|%c|%.2f|%ld]");
    const std::basic_string<T> name = widen("ab");
    Formatter<T> f;
    f.setFormat(format.data(), static_cast<uint32_t>(format.size()));
    f.addInt(7);
    f.addString(name.c_str());
    f.addUnsignedInt(255);
    f.addInt(0x3042);  // one unit in the wide forms
    f.addDouble(2.5);
    f.addLong(-3);
    std::unique_ptr<TString<T>> out(f.format(true));
    std::basic_string<T> expected = widen("[  007|ab  |0xff|");
    expected.push_back(static_cast<T>(0x3042));
    expected += widen("|2.50|-3]");
    EXPECT_EQ(std::basic_string<T>(out->data(), out->length()), expected);
}
