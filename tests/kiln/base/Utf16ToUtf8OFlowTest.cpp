#include "kiln/base/Utf16ToUtf8OFlow.h"

#include "kiln/base/StringOFlow.h"

#include "ExpectIOException.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace KILN;

namespace {

constexpr const char* Module = "kiln/base/Utf16ToUtf8OFlow";

// The UTF-8 form of UTF-16 text, one unit at a time: a pair is one
// character, a lone surrogate U+FFFD.
std::string reference(const std::u16string& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        const int lead = c < 0x80 ? 0 : c < 0x800 ? 0xC0 : c < 0x10000 ? 0xE0 : 0xF0;
        const int continuations = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        bytes += static_cast<char>(lead | c >> (6 * continuations));
        for (int k = continuations - 1; k >= 0; --k)
            bytes += static_cast<char>(0x80 | (c >> (6 * k) & 0x3F));
    }
    return bytes;
}

// Random text of ASCII runs, kana, pairs and lone surrogates of both halves.
std::u16string randomText(std::mt19937& random, size_t length)
{
    static const std::u16string pieces[] = {u"<p class=\"x\">", u"a", u"\x3042", u"\x00E9", u"\xD842\xDFB7",
                                            u"\xD83D\xDE00", u"\xD800", u"\xDC00", u"\xDBFF\x0041"};
    std::u16string text;
    while (text.size() < length)
        text += pieces[random() % std::size(pieces)];
    return text;
}

// Writes text through a flow in blocks of the sizes given, cycling, and
// closes the flow.
std::string written(const std::u16string& text, const std::vector<uint32_t>& sizes, bool mark = false)
{
    TString<char> bytes;
    StringOFlow<char> target(&bytes);
    Utf16ToUtf8OFlow flow(target, mark);
    const auto* units = reinterpret_cast<const uint16_t*>(text.data());
    for (size_t at = 0, k = 0; at < text.size(); ++k) {
        const uint32_t size = static_cast<uint32_t>(std::min<size_t>(sizes[k % sizes.size()], text.size() - at));
        uint32_t count = 0;
        if (size == 1)
            flow.write16(units[at]);
        else
            flow.writeBlock16(size, units + at, count);
        at += size;
    }
    EXPECT_TRUE(flow.close());
    return std::string(bytes.data(), bytes.length());
}

// A byte flow that takes limit bytes and fails at the next write.
class FullFlow : public OFlow {
public:
    explicit FullFlow(uint32_t limit) : OFlow(Width8, true), m_limit(limit) {}

    void write8(uint8_t) override { throw IOException("test/FullFlow", __LINE__, IOException::ShortWrite); }
    void write16(uint16_t) override { throw IOException("test/FullFlow", __LINE__, IOException::WidthNotCarried); }
    void write32(uint32_t) override { throw IOException("test/FullFlow", __LINE__, IOException::WidthNotCarried); }
    void writeBlock8(uint32_t count, const uint8_t*, uint32_t& written) override
    {
        written = count <= m_limit - m_taken ? count : m_limit - m_taken;
        m_taken += written;
        ++m_writes;
        if (written < count)
            throw IOException("test/FullFlow", __LINE__, IOException::ShortWrite);
    }

    uint32_t m_limit;
    uint32_t m_taken = 0;
    int m_writes = 0;
};

} // namespace

TEST(Utf16ToUtf8OFlowTest, AnyCutOfTheTextGivesTheSameBytes)
{
    std::mt19937 random(1208);
    // Far more than the flow's buffer, cut everywhere: pairs split between
    // writes and between buffer fills, single-unit writes, large blocks.
    const std::u16string text = randomText(random, 300000);
    const std::string expected = reference(text);
    for (const std::vector<uint32_t>& sizes : std::vector<std::vector<uint32_t>>{
             {1}, {2}, {3}, {4095, 4096, 4097}, {1, 65536, 7}, {100000000}, {21845, 21846, 1}}) {
        EXPECT_TRUE(written(text, sizes) == expected) << "block sizes from " << sizes[0];
    }
    for (int round = 0; round < 50; ++round) {
        const std::u16string piece = randomText(random, random() % 40);
        const std::vector<uint32_t> sizes{static_cast<uint32_t>(random() % 5 + 1), static_cast<uint32_t>(random() % 5 + 1)};
        ASSERT_EQ(written(piece, sizes), reference(piece));
    }
}

TEST(Utf16ToUtf8OFlowTest, MarkHeldSurrogateAndWidths)
{
    EXPECT_EQ(written(u"", {1}, true), "\xEF\xBB\xBF");
    EXPECT_EQ(written(u"a\x3042", {1}, true), "\xEF\xBB\xBF" "a\xE3\x81\x82");
    // A high surrogate that ends the text has no low half to wait for.
    EXPECT_EQ(written(u"a\xD842", {1}), "a\xEF\xBF\xBD");
    EXPECT_EQ(written(u"a\xD842\xD842\xDFB7", {2, 1}), "a\xEF\xBF\xBD\xF0\xA0\xAE\xB7");

    TString<char> bytes;
    StringOFlow<char> target(&bytes);
    Utf16ToUtf8OFlow flow(target, false);
    EXPECT_EQ(flow.widths(), Flow::Width16);
    EXPECT_IO_EXCEPTION(flow.write8('a'), IOException::WidthNotCarried, Module);
    EXPECT_IO_EXCEPTION(flow.write32('a'), IOException::WidthNotCarried, Module);
    // Nothing reaches the target before a flush.
    flow.write16('a');
    EXPECT_EQ(bytes.length(), 0u);
    flow.flush();
    EXPECT_EQ(std::string(bytes.data(), bytes.length()), "a");
    EXPECT_TRUE(flow.close());
    EXPECT_FALSE(flow.close());
    EXPECT_IO_EXCEPTION(flow.write16('b'), IOException::NotOpen, Module);
}

TEST(Utf16ToUtf8OFlowTest, AFailingTargetStopsTheFlow)
{
    std::mt19937 random(7);
    const std::u16string text = randomText(random, 200000);
    FullFlow target(100000);
    Utf16ToUtf8OFlow flow(target, true);
    const auto* units = reinterpret_cast<const uint16_t*>(text.data());
    uint32_t count = 0;
    try {
        flow.writeBlock16(static_cast<uint32_t>(text.size()), units, count);
        ADD_FAILURE() << "the failure of the target was not raised";
    } catch (const IOException& e) {
        EXPECT_EQ(e.code(), IOException::ShortWrite);
    }
    EXPECT_LT(count, text.size());
    // Nothing is written after the gap, and the end is not reported as done.
    const int writes = target.m_writes;
    EXPECT_IO_EXCEPTION(flow.writeBlock16(1, units, count), IOException::NotOpen, Module);
    EXPECT_FALSE(flow.close());
    EXPECT_EQ(target.m_writes, writes);
}
