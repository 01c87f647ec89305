#include "kiln/base/CompositIFilter.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/HtmlDetector.h"
#include "kiln/base/JaDetector.h"
#include "kiln/base/XmlDetector.h"

#include "DetectorTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace KILN;

TEST(DetectorTest, FactoryTableMakesTheDetectorOfEachPseudoEncoding)
{
    const std::unique_ptr<Detector> ja(Detector::create(EncodingRegistry::JaDetector));
    const std::unique_ptr<Detector> xml(Detector::create(EncodingRegistry::XmlDetector));
    const std::unique_ptr<Detector> html(Detector::create(EncodingRegistry::HtmlDetector));
    EXPECT_NE(dynamic_cast<JaDetector*>(ja.get()), nullptr);
    EXPECT_NE(dynamic_cast<XmlDetector*>(xml.get()), nullptr);
    EXPECT_NE(dynamic_cast<HtmlDetector*>(html.get()), nullptr);
    for (int32_t id : {0, 7, 39, 43, -41})
        EXPECT_EQ(Detector::create(id), nullptr) << id;
    // The answer names a chain to UTF-16 for each kind of input.
    const std::string shiftJis = "<?xml version='1.0' encoding='Shift_JIS'?><a>\x82\xA0</a>";
    EXPECT_EQ(detectBytes(*xml, shiftJis), EncodingRegistry::ShiftJis);
    EXPECT_EQ(detectBytes(*ja, shiftJis), EncodingRegistry::ShiftJis);
    EXPECT_EQ(detectBytes(*html, shiftJis), 0);
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(detectBytes(*xml, shiftJis), EncodingRegistry::Utf16N));
    EXPECT_NE(chain, nullptr);
}
