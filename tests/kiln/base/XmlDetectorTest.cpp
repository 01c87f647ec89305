#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/StringIFlow.h"
#include "kiln/base/XmlDetector.h"

#include "DetectorTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace KILN;
using namespace std::string_literals;

namespace {

int32_t detect(XmlDetector& detector, const std::string& bytes)
{
    return detectBytes(detector, bytes);
}

int32_t detect(const std::string& bytes)
{
    return detectBytes<XmlDetector>(bytes);
}

// ASCII text as UTF-16 bytes in either order.
std::string utf16(const std::string& ascii, bool bigEndian)
{
    std::string bytes;
    for (char c : ascii) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

std::string nameOf(const XmlDetector& detector)
{
    return std::string(detector.encodingName().data(), detector.encodingName().length());
}

} // namespace

TEST(XmlDetectorTest, SignaturesDecideAlone)
{
    EXPECT_EQ(detect(std::string("\0\0\0<\0\0\0?", 8)), EncodingRegistry::Ucs4Be);
    EXPECT_EQ(detect(std::string("\0\0\xFE\xFF\0\0\0<", 8)), EncodingRegistry::Ucs4Be);
    EXPECT_EQ(detect(std::string("<\0\0\0?\0\0\0", 8)), EncodingRegistry::Ucs4);
    EXPECT_EQ(detect(std::string("\xFF\xFE\0\0<\0\0\0", 8)), EncodingRegistry::Ucs4);
    EXPECT_EQ(detect("\xEF\xBB\xBF<?xml version='1.0' encoding='Shift_JIS'?>"), EncodingRegistry::Utf8);
    EXPECT_EQ(detect("\xFE\xFF" + utf16("<?xml version='1.0' encoding='Shift_JIS'?><a/>", true)), EncodingRegistry::Utf16Be);
    EXPECT_EQ(detect("\xFF\xFE" + utf16("<a/>", false)), EncodingRegistry::Utf16Le);
}

TEST(XmlDetectorTest, AMarkedUtf16DocumentNeedNotStartWithLessThan)
{
    // A mark, then white space before the root: still UTF-16, not UTF-8.
    EXPECT_EQ(detect("\xFE\xFF" + utf16("\n<a/>", true)), EncodingRegistry::Utf16Be);
    EXPECT_EQ(detect("\xFF\xFE" + utf16(" <a/>", false)), EncodingRegistry::Utf16Le);
}

TEST(XmlDetectorTest, Utf16WithoutMarkFollowsTheByteLayout)
{
    XmlDetector detector;
    EXPECT_EQ(detect(detector, utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", true)), EncodingRegistry::Utf16Be);
    EXPECT_EQ(detector.mode(), XmlDetector::Utf16BeNoMark);
    EXPECT_EQ(nameOf(detector), "UTF-16");
    EXPECT_EQ(detect(detector, utf16("<?xml version='1.0'?><a/>", false)), EncodingRegistry::Utf16Le);
    EXPECT_EQ(detector.mode(), XmlDetector::Utf16LeNoMark);
    // Without a usable declaration.
    EXPECT_EQ(detect(std::string("<\0?\0", 4)), EncodingRegistry::Utf16Le);
    EXPECT_EQ(detect(utf16("<?xml?>", false)), EncodingRegistry::Utf16Le);
    // A name that contradicts the layout cannot be right: the layout wins.
    EXPECT_EQ(detect(utf16("<?xml version='1.0' encoding='Shift_JIS'?>", false)), EncodingRegistry::Utf16Le);
    EXPECT_EQ(detect(utf16("<?xml version='1.0' encoding='UTF-8'?>", true)), EncodingRegistry::Utf16Be);
}

TEST(XmlDetectorTest, TheDeclaredEncodingDecidesEightBitText)
{
    XmlDetector detector;
    EXPECT_EQ(detect(detector, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<a/>"), EncodingRegistry::ShiftJis);
    EXPECT_EQ(nameOf(detector), "Shift_JIS");
    EXPECT_EQ(detector.error().code(), 0);
    EXPECT_EQ(detect("<?xml\tversion = '1.0'\r\n  encoding\n=\n'euc-JP'?>"), EncodingRegistry::EucJp);
    EXPECT_EQ(detect("<?xml version='1.0' encoding='shift_jis' standalone='yes'?>"), EncodingRegistry::ShiftJis);
    // A name the registry does not know, no name, no declaration at all.
    EXPECT_EQ(detect(detector, "<?xml version='1.0' encoding='x-unknown-42'?><a/>"), EncodingRegistry::Utf8);
    EXPECT_EQ(nameOf(detector), "x-unknown-42");
    EXPECT_EQ(detect(detector, "<?xml version='1.0'?><a/>"), EncodingRegistry::Utf8);
    EXPECT_EQ(nameOf(detector), "");
    EXPECT_EQ(detect("<html><body>\x82\xA0</body></html>"), EncodingRegistry::Utf8);
}

TEST(XmlDetectorTest, ShortGarbageAndEbcdicFallBackToUtf8)
{
    EXPECT_EQ(detect(""), EncodingRegistry::Utf8);
    EXPECT_EQ(detect("<a"), EncodingRegistry::Utf8);
    EXPECT_EQ(detect("<?xml"), EncodingRegistry::Utf8);
    EXPECT_EQ(detect("<?xml version='1.0' encoding='Shift"), EncodingRegistry::Utf8);
    // "<?xml" in EBCDIC.
    EXPECT_EQ(detect("\x4C\x6F\xA7\x94\x93\x40"), EncodingRegistry::Utf8);
    EXPECT_EQ(detect(std::string("\0\0\0\0", 4)), EncodingRegistry::Utf8);
}

TEST(XmlDetectorTest, DeclarationErrorsAreNamedAndFallBack)
{
    const struct {
        std::string input;
        int32_t code;
        const char* message;
    } cases[] = {
        {"<?xmlversion='1.0'?>", 70, "can't find space."},
        {"<?xml-stylesheet href='a.css'?>", 70, "can't find space."},
        {"<?xml encoding='UTF-8'?>", 10, "can't find 'version' between '<?xml' and '?>'."},
        {"<?xml version '1.0'?>", 130, "can't find '='."},
        {"<?xml version=1.0?>", 60, "version number specification syntax error."},
        {"<?xml version='?'?>", 20, "version number pase error"},
        {"<?xml version=''?>", 20, "version number pase error"},
        {"<?xml version=\"\"?>", 40, "version number pase error"},
        {"<?xml version=\"\0\"?>"s, 40, "version number pase error"},
        {"<?xml version='1.0\"?>", 30, "can't find \"'\"."},
        {"<?xml version=\"1 0\"?>", 50, "can't find '\"'."},
        {"<?xml version='1.0' encoding=Shift_JIS?>", 120, "encoding specification syntax error."},
        {"<?xml version='1.0' encoding='1252'?>", 80, "encoding name parse error"},
        {"<?xml version='1.0' encoding=\"-x\"?>", 100, "encoding name parse error"},
        {"<?xml version='1.0' encoding='Shift_JIS\"?>", 90, "can't find \"'\"."},
        {"<?xml version='1.0' encoding=\"Shift JIS\"?>", 110, "can't find '\"'."},
        {"<?xml version='1.0' encoding 'Shift_JIS'?>", 130, "can't find '='."},
    };
    XmlDetector detector;
    for (const auto& c : cases) {
        EXPECT_EQ(detect(detector, c.input), EncodingRegistry::Utf8) << c.input;
        EXPECT_EQ(detector.error().code(), c.code) << c.input;
        EXPECT_STREQ(detector.error().message(), c.message) << c.input;
        EXPECT_EQ(nameOf(detector), "") << c.input;
    }
    EXPECT_STREQ(XmlParseError(0).message(), "");
    EXPECT_STREQ(XmlParseError(55).message(), "");
}

TEST(XmlDetectorTest, AReusedDetectorForgetsTheLastDocument)
{
    XmlDetector detector;
    detect(detector, "<?xml version='1.0' encoding='bad name'?>");
    EXPECT_EQ(detector.error().code(), 90);
    EXPECT_EQ(detect(detector, utf16("<?xml version='1.0'?>", true)), EncodingRegistry::Utf16Be);
    EXPECT_EQ(detect(detector, "<?xml version='1.0' encoding='euc-jp'?>"), EncodingRegistry::EucJp);
    EXPECT_EQ(detector.mode(), XmlDetector::Bytes);
    EXPECT_EQ(detector.error().code(), 0);
    detector.reset();
    EXPECT_EQ(nameOf(detector), "");
}
