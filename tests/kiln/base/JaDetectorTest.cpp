#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/JaDetector.h"
#include "kiln/base/StringIFlow.h"

#include "DetectorTestSupport.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <random>
#include <string>

using namespace KILN;

namespace {

int32_t detect(const std::string& bytes)
{
    return detectBytes<JaDetector>(bytes);
}

// The UTF-8 text encoded by the C library's converter.
std::string encode(const std::string& utf8, const char* encoding)
{
    iconv_t cd = iconv_open(encoding, "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << encoding;
    std::string in = utf8;
    std::string out(in.size() * 4 + 16, '\0');
    char* inp = in.data();
    size_t inLeft = in.size();
    char* outp = out.data();
    size_t outLeft = out.size();
    EXPECT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<size_t>(-1));
    EXPECT_NE(iconv(cd, nullptr, nullptr, &outp, &outLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

const std::string sentence = "山路を登りながら、こう考えた。智に働けば角が立つ。情に棹させば流される。";

} // namespace

TEST(JaDetectorTest, ByteOrderMarksDecideWhateverFollows)
{
    EXPECT_EQ(detect("\xFF\xFE"), EncodingRegistry::Utf16Le);
    EXPECT_EQ(detect("\xFF\xFE\x82\xA0"), EncodingRegistry::Utf16Le);
    EXPECT_EQ(detect("\xFE\xFF\xB0\xA1"), EncodingRegistry::Utf16Be);
    EXPECT_EQ(detect("\xEF\xBB\xBF" "abc"), EncodingRegistry::Utf8);
}

TEST(JaDetectorTest, ABrokenMarkGoesOnWithTheByteThatBrokeIt)
{
    // EF BB then 82 A0: the 82 starts a Shift_JIS pair.
    EXPECT_EQ(detect("\xEF\xBB\x82\xA0"), EncodingRegistry::ShiftJis);
    // FE then B0: a lone EUC-JP lead.
    EXPECT_EQ(detect("\xFE\xB0\xA1"), EncodingRegistry::EucJp);
    EXPECT_EQ(detect("\xFF" "abc"), 0);
}

TEST(JaDetectorTest, SingleCharactersDecide)
{
    EXPECT_EQ(detect("\x82\xA0"), EncodingRegistry::ShiftJis);
    EXPECT_EQ(detect("\xB0\xA1"), EncodingRegistry::EucJp);
    EXPECT_EQ(detect("\x1B$B"), EncodingRegistry::Iso2022Jp);
    EXPECT_EQ(detect("\x1B$@"), EncodingRegistry::Iso2022Jp);
    // An ambiguous E0-EF pair is stepped over.
    EXPECT_EQ(detect("\xE0\xA1" "a" "\x82\xA0"), EncodingRegistry::ShiftJis);
    EXPECT_EQ(detect("\xE0\xA1" "abc"), 0);
    // E0-EF with a trail only EUC-JP allows.
    EXPECT_EQ(detect("\xE0\xFD"), EncodingRegistry::EucJp);
    // SS3 with a JIS X 0212 pair, and SS3 before a Shift_JIS-only byte.
    EXPECT_EQ(detect("\x8F\xB0\xA1"), EncodingRegistry::EucJp);
    EXPECT_EQ(detect("\x8F\x40"), EncodingRegistry::ShiftJis);
}

TEST(JaDetectorTest, UndecidableInputAnswersZero)
{
    EXPECT_EQ(detect(""), 0);
    EXPECT_EQ(detect("plain ASCII text\r\n"), 0);
    // An escape that designates no JIS X 0208 set.
    EXPECT_EQ(detect("\x1B(Babc"), 0);
    // A flow that does not carry bytes.
    const unsigned short units[] = {0x3042, 0x3044};
    StringIFlow<unsigned short> wide(units, 2);
    JaDetector detector;
    EXPECT_EQ(detector.detect(wide), 0);
}

TEST(JaDetectorTest, JapaneseTextInEachEncoding)
{
    EXPECT_EQ(detect(encode(sentence, "SHIFT_JIS")), EncodingRegistry::ShiftJis);
    EXPECT_EQ(detect(encode(sentence, "CP932")), EncodingRegistry::ShiftJis);
    EXPECT_EQ(detect(encode(sentence, "EUC-JP")), EncodingRegistry::EucJp);
    EXPECT_EQ(detect(encode(sentence, "ISO-2022-JP")), EncodingRegistry::Iso2022Jp);
    EXPECT_EQ(detect("ASCII first, then " + encode(sentence, "EUC-JP")), EncodingRegistry::EucJp);
}

TEST(JaDetectorTest, Utf8JapaneseIsNotTakenForShiftJis)
{
    EXPECT_EQ(detect(sentence), EncodingRegistry::Utf8);
    EXPECT_EQ(detect("abc " + sentence + "\n"), EncodingRegistry::Utf8);
    // Latin text with one accented letter looks like EUC-JP to the scan.
    EXPECT_EQ(detect("caf\xC3\xA9"), EncodingRegistry::Utf8);
    // A cut multibyte character at the end is not UTF-8: the scan's own
    // answer stands (E5 B1 B1 reads as an ambiguous pair and an EUC-JP lead).
    EXPECT_EQ(detect(sentence.substr(0, sentence.size() - 1)), EncodingRegistry::EucJp);
    // Neither is a surrogate code point.
    EXPECT_EQ(detect("\xED\xA0\x80"), EncodingRegistry::ShiftJis);
}

TEST(JaDetectorTest, GarbageNeverFailsAndAnswersAKnownEncoding)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 64, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        const int32_t answer = detect(bytes);
        EXPECT_TRUE(answer == 0 || answer == EncodingRegistry::Utf8 || answer == EncodingRegistry::Utf16Be || answer == EncodingRegistry::Utf16Le ||
                    answer == EncodingRegistry::Iso2022Jp || answer == EncodingRegistry::EucJp || answer == EncodingRegistry::ShiftJis) << answer;
    }
}
