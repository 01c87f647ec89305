#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/ParseXMLFile.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/Utf8String.h"
#include "kiln/base/XMLOutputter.h"
#include "model/RootElement.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

// Helpers of the rewriting tests: documents parsed from literal XHTML as the
// model reads content documents, and written back as the model writes them.
namespace XhtmlRewriting {

constexpr uint32_t ContentFlags = 0x2E06;

// Texts of the tests are UTF-8.
inline KILN::Utf16String U(const std::string& text)
{
    return KILN::Utf16String(text.c_str());
}

inline std::string S(const KILN::Utf16String& text)
{
    const KILN::Utf8String utf8(text);
    return std::string(utf8.data(), utf8.length());
}

inline std::unique_ptr<KILN::Document> parse(const std::string& text)
{
    const KILN::Utf16String units = U(text);
    std::unique_ptr<KILN::Document> document(KILN::parseXMLText(units.data(), units.length(), ContentFlags));
    EXPECT_NE(document, nullptr) << "not well-formed: " << text;
    return document;
}

inline std::string serialize(const KILN::Node& node)
{
    KILN::Utf16String text;
    KILN::StringOFlow<unsigned short> flow(&text);
    KILN::XMLOutputter outputter(flow, KILN::XMLOutputter::entityMode);
    node.output(outputter);
    return S(text);
}

// The first child element named "body" of the root.
inline KILN::Element& body(KILN::Document& document)
{
    KILN::Element* found = rootElement(document)->getFirstChildElement(KILN::Utf16String("body"));
    if (!found)
        throw std::runtime_error("no body");
    return *found;
}

// A document of the given body content.
inline std::string page(const std::string& bodyContent)
{
    return "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head><body>" + bodyContent +
           "</body></html>";
}

// The body of a page after rewrite, serialized without its own tags.
template <class Rewrite>
std::string rewriteBody(const std::string& bodyContent, Rewrite rewrite)
{
    std::unique_ptr<KILN::Document> document = parse(page(bodyContent));
    if (!document)
        return "(not parsed)";
    KILN::Element& element = body(*document);
    rewrite(element, *document);
    std::string written;
    for (KILN::Node* child = element.getFirstChild(); child; child = child->getNextSibling())
        written += serialize(*child);
    return written;
}

} // namespace XhtmlRewriting
