#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/Utf16String.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

} // namespace XmlTest
