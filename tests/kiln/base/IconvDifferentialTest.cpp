// Compares the table-driven encodings with glibc's iconv, code by code.
#include "EncodingTestSupport.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Utf.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <cctype>
#include <ostream>
#include <functional>
#include <optional>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace KILN;
using KILN::test::ChainRunner;

namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::invalid_argument(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Iconv() { iconv_close(m_cd); }

    // The whole input converted and the shift state closed; nothing when
    // iconv rejects any of it.
    std::optional<std::string> convert(const std::string& input)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string buffer(input.size() * 8 + 64, '\0');
        char* out = buffer.data();
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* outPtr = out;
        size_t outLeft = buffer.size();
        if (iconv(m_cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft)
            return std::nullopt;
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        return std::string(out, outPtr);
    }

private:
    iconv_t m_cd;
};

std::string hex(const std::string& bytes)
{
    std::string text;
    char buffer[4];
    for (unsigned char b : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X", b);
        text += buffer;
    }
    return text.empty() ? "(none)" : text;
}

struct Encoding {
    const char* name;      // our name
    const char* iconvName; // glibc's
    // The codes to decode (as bytes).
    std::function<std::vector<std::string>()> codes;
};

// Names the encoding in test output.
void PrintTo(const Encoding& encoding, std::ostream* out)
{
    *out << encoding.name;
}

std::vector<std::string> singleBytes()
{
    std::vector<std::string> codes;
    for (int b = 0; b < 256; ++b)
        codes.push_back(std::string(1, static_cast<char>(b)));
    return codes;
}

std::vector<std::string> doubleBytes()
{
    std::vector<std::string> codes = singleBytes();
    for (int lead = 0x80; lead < 0x100; ++lead)
        for (int trail = 0x40; trail < 0x100; ++trail)
            codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    return codes;
}

std::vector<std::string> eucCodes()
{
    std::vector<std::string> codes = doubleBytes();
    for (int a = 0xA1; a < 0xFF; ++a)
        for (int b = 0xA1; b < 0xFF; ++b)
            codes.push_back({'\x8F', static_cast<char>(a), static_cast<char>(b)});
    return codes;
}

std::vector<std::string> iso2022JpCodes()
{
    std::vector<std::string> codes;
    for (int b = 0; b < 0x80; ++b)
        if (b != 0x1B && b != 0x0E && b != 0x0F)
            codes.push_back(std::string(1, static_cast<char>(b)));
    for (int b = 0x21; b < 0x7F; ++b)
        codes.push_back(std::string("\x1B(J") + static_cast<char>(b) + "\x1B(B");
    for (int a = 0x21; a < 0x7F; ++a)
        for (int b = 0x21; b < 0x7F; ++b)
            codes.push_back(std::string("\x1B$B") + static_cast<char>(a) + static_cast<char>(b) + "\x1B(B");
    return codes;
}

std::string utf16Of(uint16_t unit)
{
    return KILN::test::utf16({unit});
}

uint8_t byteAt(const std::string& bytes, size_t i)
{
    return static_cast<uint8_t>(bytes[i]);
}

// Why a code may decode differently from glibc; null when it may not.
const char* decodeDifference(const std::string& encoding, const std::string& code)
{
    const bool euc = encoding == "euc-jp" || encoding == "eucJP-MS";
    if (euc && code.size() == 1 && byteAt(code, 0) >= 0x80)
        return "C1 control bytes are no EUC-JP codes; our converters skip them";
    if (encoding == "euc-jp" && code.size() == 3)
        return "JIS X 0212 (8F XX YY) is outside our EUC-JP, which travels through Shift_JIS";
    if (encoding == "eucJP-MS" && code.size() == 3)
        return "eucJP-MS decodes through code page 932, which lacks most of JIS X 0212";
    const bool sjisRoman = encoding == "Shift_JIS" && code.size() == 1;
    const bool isoRoman = encoding == "iso-2022-jp" && code.size() == 7 && code[2] == 'J';
    const char roman = sjisRoman ? code[0] : isoRoman ? code[3] : 0;
    if (roman == '\x5C' || roman == '\x7E')
        return "Roman 5C and 7E decode as ASCII backslash and tilde, not yen sign and overline";
    return nullptr;
}

// Why a character may encode differently from glibc; null when it may not.
const char* encodeDifference(const std::string& encoding, uint16_t unit, const std::string& expected,
                             const std::string& got)
{
    const bool euc = encoding == "euc-jp" || encoding == "eucJP-MS";
    if (euc && unit >= 0x80 && unit <= 0x9F && got.empty())
        return "C1 controls are no EUC-JP codes";
    if (euc && expected.size() == 3 && got.empty())
        return "JIS X 0212 characters are outside our EUC-JP (and, for eucJP-MS, code page 932)";
    if (encoding == "Shift_JIS" && (unit == 0xFFE0 || unit == 0xFFE1 || unit == 0xFFE2) && got.empty())
        return "Shift_JIS holds U+00A2, U+00A3, U+00AC there; the full-width forms are glibc's one-way extras";
    if ((encoding == "cp932" || encoding == "eucJP-MS") && (unit == 0xA5 || unit == 0x203E) && got.empty())
        return "yen sign and overline are glibc's best-fit extras, not code page 932 codes";
    if (encoding == "cp932" && got.size() == 2) {
        static Iconv decoder("UTF-16LE", "CP932");
        if (decoder.convert(got) == utf16Of(unit))
            return "a character with two codes: ours (NEC-selected rows) decodes back to it as well";
    }
    return nullptr;
}

class IconvDifferentialTest : public ::testing::TestWithParam<Encoding> {
protected:
    void SetUp() override { EncodingRegistry::lifeCycle(true); }
    void TearDown() override { EncodingRegistry::lifeCycle(false); }
};

// Every code that glibc decodes to one character decodes to the same
// character through our chain into UTF-16, except the listed differences.
TEST_P(IconvDifferentialTest, DecodesLikeIconv)
{
    const Encoding& e = GetParam();
    ChainRunner ours(EncodingRegistry::idOf(e.name), EncodingRegistry::Utf16N);
    Iconv theirs("UTF-16LE", e.iconvName);
    size_t compared = 0;
    for (const std::string& code : e.codes()) {
        const std::optional<std::string> expected = theirs.convert(code);
        if (!expected || expected->size() != 2)
            continue;
        ++compared;
        const std::string got = ours.run(code);
        if (got != *expected) {
            EXPECT_NE(decodeDifference(e.name, code), nullptr)
                << e.name << " " << hex(code) << ": iconv " << hex(*expected) << ", ours " << hex(got);
        }
    }
    EXPECT_GT(compared, 90u);
}

// Every BMP character encodes to glibc's bytes, or to nothing exactly where
// glibc cannot encode it, except the listed differences.
TEST_P(IconvDifferentialTest, EncodesLikeIconv)
{
    const Encoding& e = GetParam();
    ChainRunner ours(EncodingRegistry::Utf16N, EncodingRegistry::idOf(e.name));
    Iconv theirs(e.iconvName, "UTF-16LE");
    for (uint32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::string unit = utf16Of(static_cast<uint16_t>(c));
        const std::string expected = theirs.convert(unit).value_or("");
        const std::string got = ours.run(unit);
        if (got != expected) {
            EXPECT_NE(encodeDifference(e.name, static_cast<uint16_t>(c), expected, got), nullptr)
                << e.name << " U+" << std::hex << c << ": iconv " << hex(expected) << ", ours " << hex(got);
        }
    }
}

// Random texts of the characters an encoding holds, as UTF-16LE: shift
// states, base64 runs and their ends are where multi-character text differs
// from single characters.
class RandomTexts {
public:
    explicit RandomTexts(std::vector<uint32_t> pool) : m_pool(std::move(pool)) {}

    std::string next()
    {
        std::string text;
        const size_t length = std::uniform_int_distribution<size_t>(1, 40)(m_random);
        for (size_t i = 0; i < length; ++i) {
            const uint32_t c = m_pool[std::uniform_int_distribution<size_t>(0, m_pool.size() - 1)(m_random)];
            if (c >= 0x10000)
                text += utf16Of(utf::highSurrogateOf(c)) + utf16Of(utf::lowSurrogateOf(c));
            else
                text += utf16Of(static_cast<uint16_t>(c));
        }
        return text;
    }

private:
    std::vector<uint32_t> m_pool;
    std::mt19937 m_random{20260101};
};

// Printable ASCII, and every step-th character of a range that glibc
// encodes alone.
std::vector<uint32_t> poolOf(const char* iconvName, std::vector<std::pair<uint32_t, uint32_t>> ranges, uint32_t step)
{
    std::vector<uint32_t> pool;
    for (uint32_t c = 0x20; c < 0x7F; ++c)
        pool.push_back(c);
    Iconv encoder(iconvName, "UTF-16LE");
    for (const auto& [first, last] : ranges) {
        for (uint32_t c = first; c <= last; c += step) {
            if (encoder.convert(utf16Of(static_cast<uint16_t>(c))))
                pool.push_back(c);
        }
    }
    return pool;
}

TEST(IconvRandomTextTest, Iso2022JpTextsEncodeAndDecodeLikeIconv)
{
    // Kana and kanji; ASCII '\\' and '~' stay ASCII in both encoders.
    RandomTexts texts(poolOf("ISO-2022-JP", {{0x3041, 0x30F6}, {0x4E00, 0x9FA0}, {0xFF01, 0xFF5E}}, 7));
    ChainRunner encoder(EncodingRegistry::Utf16Le, EncodingRegistry::Iso2022Jp);
    ChainRunner decoder(EncodingRegistry::Iso2022Jp, EncodingRegistry::Utf16Le);
    Iconv theirs("ISO-2022-JP", "UTF-16LE");
    for (int i = 0; i < 2000; ++i) {
        const std::string text = texts.next();
        const std::optional<std::string> expected = theirs.convert(text);
        ASSERT_TRUE(expected) << hex(text);
        EXPECT_EQ(hex(encoder.run(text)), hex(*expected)) << hex(text);
        EXPECT_EQ(hex(decoder.run(*expected)), hex(text));
    }
}

TEST(IconvRandomTextTest, Utf7TextsRoundTripThroughIconv)
{
    // Encoders may choose where base64 runs end; each side reads the other's.
    std::vector<uint32_t> pool = poolOf("UTF-7", {{0xA0, 0x3100}}, 97);
    for (uint32_t c : {0x2B, 0x2D, 0x7E, 0x5C, 0xFEFF, 0xFFFD, 0x20BB7, 0x1F600, 0x10FFFF})
        pool.push_back(c);
    RandomTexts texts(pool);
    ChainRunner encoder(EncodingRegistry::Utf16Le, EncodingRegistry::idOf("utf-7"));
    ChainRunner decoder(EncodingRegistry::idOf("utf-7"), EncodingRegistry::Utf16Le);
    Iconv theirEncoder("UTF-7", "UTF-16LE");
    Iconv theirDecoder("UTF-16LE", "UTF-7");
    for (int i = 0; i < 2000; ++i) {
        const std::string text = texts.next();
        const std::optional<std::string> theirs = theirEncoder.convert(text);
        ASSERT_TRUE(theirs) << hex(text);
        EXPECT_EQ(hex(decoder.run(*theirs)), hex(text)) << *theirs;
        const std::string ours = encoder.run(text);
        EXPECT_EQ(hex(theirDecoder.convert(ours).value_or("(iconv failed)")), hex(text)) << ours;
    }
}

const Encoding encodings[] = {
    {"Shift_JIS", "SJIS", doubleBytes},
    {"cp932", "CP932", doubleBytes},
    {"euc-jp", "EUC-JP", eucCodes},
    {"eucJP-MS", "EUC-JP-MS", eucCodes},
    {"iso-2022-jp", "ISO-2022-JP", iso2022JpCodes},
    {"windows-1252", "CP1252", singleBytes},
    {"iso-8859-1", "ISO-8859-1", singleBytes},
    {"iso-8859-2", "ISO-8859-2", singleBytes},
    {"iso-8859-3", "ISO-8859-3", singleBytes},
    {"iso-8859-4", "ISO-8859-4", singleBytes},
    {"iso-8859-5", "ISO-8859-5", singleBytes},
    {"iso-8859-6", "ISO-8859-6", singleBytes},
    {"iso-8859-7", "ISO-8859-7", singleBytes},
    {"iso-8859-8", "ISO-8859-8", singleBytes},
    {"iso-8859-9", "ISO-8859-9", singleBytes},
    {"iso-8859-10", "ISO-8859-10", singleBytes},
    {"iso-8859-13", "ISO-8859-13", singleBytes},
    {"iso-8859-14", "ISO-8859-14", singleBytes},
    {"iso-8859-15", "ISO-8859-15", singleBytes},
};

INSTANTIATE_TEST_SUITE_P(Tables, IconvDifferentialTest, ::testing::ValuesIn(encodings),
                         [](const ::testing::TestParamInfo<Encoding>& suite) {
                             std::string name;
                             for (const char* p = suite.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

} // namespace
