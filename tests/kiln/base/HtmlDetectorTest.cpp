#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/HtmlDetector.h"
#include "kiln/base/StringIFlow.h"

#include "DetectorTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace KILN;

namespace {

int32_t detect(const std::string& bytes)
{
    return detectBytes<HtmlDetector>(bytes);
}

std::string page(const std::string& head, const std::string& body = "<p>text</p>")
{
    return "<html>\n<head>\n" + head + "\n</head>\n<body>" + body + "</body>\n</html>\n";
}

const std::string eucMeta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">";

} // namespace

TEST(HtmlDetectorTest, MetaContentTypeInTheHeadDecides)
{
    EXPECT_EQ(detect(page(eucMeta)), EncodingRegistry::EucJp);
    EXPECT_EQ(detect(page("<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=SHIFT_JIS\">")), EncodingRegistry::ShiftJis);
    // content before http-equiv, an empty-element tag, no space after ';'.
    EXPECT_EQ(detect(page("<meta content=\"text/html;charset=Shift_JIS\" http-equiv=\"content-type\" />")), EncodingRegistry::ShiftJis);
    // Several spaces; a comment in parentheses after the name.
    EXPECT_EQ(detect(page("<meta http-equiv=\"Content-Type\" content=\"text/html;   charset=euc-jp(Japanese)\">")), EncodingRegistry::EucJp);
    // Attributes on the html and head tags, a DOCTYPE, a PI and a reference first.
    EXPECT_EQ(detect("<?xml version=\"1.0\"?><!DOCTYPE html>&amp;<html lang=\"ja\">\r\n<head profile=\"x\">\r\n" +
                     eucMeta + "</head></html>"),
              EncodingRegistry::EucJp);
}

TEST(HtmlDetectorTest, TheLastQualifyingMetaWins)
{
    const std::string sjisMeta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">";
    EXPECT_EQ(detect(page(eucMeta + sjisMeta)), EncodingRegistry::ShiftJis);
    // An unknown name replaces an earlier answer with 0.
    EXPECT_EQ(detect(page(eucMeta + "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=x-none\">")), 0);
    // A META of another form leaves the answer alone.
    EXPECT_EQ(detect(page(eucMeta + "<meta http-equiv=\"Content-Type\" content=\"text/plain\">")), EncodingRegistry::EucJp);
}

TEST(HtmlDetectorTest, MetaThatDoesNotQualify)
{
    // Outside the head, outside html, after the head closed.
    EXPECT_EQ(detect(page("", eucMeta)), 0);
    EXPECT_EQ(detect("<head>" + eucMeta + "</head>"), 0);
    EXPECT_EQ(detect("<html><head></head>" + eucMeta + "</html>"), 0);
    // An empty head element opens nothing.
    EXPECT_EQ(detect("<html><head/>" + eucMeta + "</html>"), 0);
    // Without http-equiv, with another http-equiv, with the html5 form.
    EXPECT_EQ(detect(page("<meta content=\"text/html; charset=EUC-JP\">")), 0);
    EXPECT_EQ(detect(page("<meta http-equiv=\"refresh\" content=\"text/html; charset=EUC-JP\">")), 0);
    EXPECT_EQ(detect(page("<meta charset=\"EUC-JP\">")), 0);
    // Inside a comment or a PI.
    EXPECT_EQ(detect(page("<!-- " + eucMeta + " -->")), 0);
    EXPECT_EQ(detect(page("<?php " + eucMeta + " ?>")), 0);
}

TEST(HtmlDetectorTest, TruncatedOrOddInputEndsCleanly)
{
    EXPECT_EQ(detect(""), 0);
    EXPECT_EQ(detect("<"), 0);
    EXPECT_EQ(detect("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP"), EncodingRegistry::EucJp);
    EXPECT_EQ(detect("<html><head><meta http-equiv=\"Content-Type\" content=\""), 0);
    EXPECT_EQ(detect("<html><head><!-- never closed " + eucMeta), 0);
    EXPECT_EQ(detect("<html><head>&nbsp" + eucMeta), 0);
    // A zero byte ends the scan.
    EXPECT_EQ(detect(std::string("<html><head>\0", 13) + eucMeta), 0);
    // A flow that does not carry bytes.
    const unsigned short units[] = {'<', 'h'};
    StringIFlow<unsigned short> wide(units, 2);
    HtmlDetector detector;
    EXPECT_EQ(detector.detect(wide), 0);
}
