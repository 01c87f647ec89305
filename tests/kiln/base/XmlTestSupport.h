#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/Utf16String.h"
#include "kiln/base/XMLParseError.h"

#include "XmlErrorMessages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Helpers of the XML tests: UTF-16 strings from char16_t literals, and parses
// of literal text that also capture the error report.
namespace XmlTest {

inline KILN::Utf16String U(const char16_t* text)
{
    return KILN::Utf16String(reinterpret_cast<const unsigned short*>(text));
}

inline std::u16string S(const KILN::TStringPtr<unsigned short>* text)
{
    if (!text)
        return u"(null)";
    return std::u16string(reinterpret_cast<const char16_t*>(text->data()), text->length());
}

inline std::u16string S(const KILN::TStringPtr<unsigned short>& text)
{
    return S(&text);
}

struct Parsed {
    std::unique_ptr<KILN::Document> document;
    // What the parse wrote on the standard error stream.
    std::string report;
};

inline Parsed parse(const std::u16string& text, uint32_t flags = 0)
{
    testing::internal::CaptureStderr();
    KILN::Document* document = KILN::parseXMLText(reinterpret_cast<const unsigned short*>(text.data()),
                                                   static_cast<uint32_t>(text.size()), flags);
    return Parsed{std::unique_ptr<KILN::Document>(document), testing::internal::GetCapturedStderr()};
}

// The report line of a failed parse with that code, from the golden texts.
inline std::string expectedReport(int32_t code)
{
    return "ERROR:" + std::to_string(code) + ": " + goldenMessage(code) + "\n";
}

struct ErrorCase {
    std::u16string text;
    uint32_t flags;
    int32_t code;
};

// Each text, between prefix and suffix, fails with its code and its report.
inline void expectErrors(const std::vector<ErrorCase>& cases, const std::u16string& prefix = u"",
                         const std::u16string& suffix = u"")
{
    for (const ErrorCase& c : cases) {
        Parsed parsed = parse(prefix + c.text + suffix, c.flags);
        const std::string shown(c.text.begin(), c.text.end());
        EXPECT_EQ(parsed.document, nullptr) << shown;
        EXPECT_EQ(parsed.report, expectedReport(c.code)) << shown;
    }
}

} // namespace XmlTest
