#include "kiln/base/ParseXMLFile.h"

#include "kiln/base/DOMImplementation.h"
#include "kiln/base/XMLParser.h"

#include <cstdio>

namespace KILN {

namespace {

void report(const XMLParseError& error)
{
    const TString<char> line = error.report();
    std::fwrite(line.data(), 1, line.length(), stderr);
}

// Parses the source stack that holds the document text.
Document* parseSource(XMLParserSrc& src, uint32_t flags)
{
    DOMImplementation implementation;
    try {
        XMLParser parser(src, &implementation, flags);
        return parser.parse();
    } catch (const XMLParseError& error) {
        report(error);
        return nullptr;
    }
}

} // namespace

Document* parseXMLText(const unsigned short* text, uint32_t length, uint32_t flags)
{
    // A byte-order mark that survived decoding is not part of the document.
    if (length > 0 && text[0] == 0xFEFF) {
        ++text;
        --length;
    }
    XMLParserSrc src;
    src.push(new XMLParserSrcUnit("unknown", text, length, false));
    return parseSource(src, flags);
}

} // namespace KILN
