#include "kiln/base/Utf8BlockDecoding.h"

#include "EncodingTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace KILN;

namespace {

std::u16string decoded(const std::string& bytes)
{
    std::vector<uint16_t> units(bytes.size());
    const uint32_t count = decodeUtf8Block(reinterpret_cast<const uint8_t*>(bytes.data()),
                                           static_cast<uint32_t>(bytes.size()), units.data());
    EXPECT_LE(count, bytes.size());
    return std::u16string(units.begin(), units.begin() + count);
}

// What the unit-by-unit converter chain makes of the bytes (it keeps a
// leading byte-order mark when the encoding is UTF-8N).
std::u16string decodedByChain(const std::string& bytes)
{
    const std::string out = test::convertBytes(EncodingRegistry::Utf8N, EncodingRegistry::Utf16N, bytes);
    std::u16string units;
    for (size_t i = 0; i + 1 < out.size(); i += 2)
        units += static_cast<char16_t>(static_cast<uint8_t>(out[i]) | static_cast<uint8_t>(out[i + 1]) << 8);
    return units;
}

} // namespace

TEST(Utf8BlockDecodingTest, WellFormedAndMalformedSequences)
{
    const struct {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"", u""},
        {"plain ASCII longer than eight bytes", u"plain ASCII longer than eight bytes"},
        {"\xEF\xBB\xBF<a>", u"\xFEFF<a>"},
        {"\xE8\x8D\x89\xE6\x9E\x95 \xF0\xA0\xAE\xB7", u"\x8349\x6795 \xD842\xDFB7"},
        // Overlong forms answer one U+FFFD for the whole sequence: no hidden '<'.
        {"\xC0\xBC" "b\xE0\x80\xAF", u"\xFFFD" u"b\xFFFD"},
        // Encoded surrogates and values beyond U+10FFFF.
        {"\xED\xA0\x80|\xF4\x90\x80\x80", u"\xFFFD|\xFFFD"},
        // A byte that begins nothing; a lead cut short by another byte, which counts afresh.
        {"\x80\xFF" "a\xE3\x81<", u"\xFFFD\xFFFD" u"a\xFFFD<"},
        // A sequence cut short by the end of the text.
        {"abc\xE3\x81", u"abc\xFFFD"},
        {"\xF0", u"\xFFFD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decoded(c.bytes), c.units) << testing::PrintToString(c.bytes);
}

// The loop and the converter chain agree on random text of every kind of
// sequence, well-formed or not, at every alignment of the eight-byte ASCII
// step. (A text that ends inside a sequence is left to the case above: the
// chain stops at the end of input there.)
TEST(Utf8BlockDecodingTest, AgreesWithTheConverterChainOnRandomText)
{
    static const char* const pieces[] = {"a", "<p>", "abcdefghijk", "\xE3\x81\x82", "\xF0\x9F\x98\x80", "\xC3\xA9",
                                         "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81", "\xFF",
                                         "\xF0\x9F", "\xEF\xBB\xBF", "\xE0\x80\xAF", "\xC1\xBF", "\xDF\xBF"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 500; ++round) {
        std::string bytes;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            bytes += pieces[random() % std::size(pieces)];
        bytes += '.';
        ASSERT_EQ(decoded(bytes), decodedByChain(bytes)) << testing::PrintToString(bytes);
    }
}
