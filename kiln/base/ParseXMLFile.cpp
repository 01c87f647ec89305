#include "kiln/base/ParseXMLFile.h"

#include "kiln/base/DOMImplementation.h"
#include "kiln/base/XMLParser.h"
#include "kiln/base/XMLReader.h"

#include <cstdio>

namespace KILN {

namespace {

// Parses the document text of unit (taken over) and reports a failure.
Document* parseUnit(XMLParserSrcUnit* unit, uint32_t flags)
{
    // A byte-order mark that survived decoding is not part of the document.
    if (unit->cursor < unit->end && *unit->cursor == 0xFEFF)
        ++unit->cursor;
    XMLParserSrc src;
    src.push(unit);
    DOMImplementation implementation;
    XMLParser parser(src, &implementation, flags);
    return parser.parse();
}

Document* reported(const XMLParseError& error)
{
    const TString<char> line = error.report();
    std::fwrite(line.data(), 1, line.length(), stderr);
    return nullptr;
}

} // namespace

Document* parseXMLFile(const unsigned short* path, TextWriter<unsigned short>* messages, uint32_t flags)
{
    try {
        XMLReader reader(messages);
        XMLParserSrcUnit* unit = reader.openFile(path);
        return unit ? parseUnit(unit, flags) : nullptr;
    } catch (const XMLParseError& error) {
        return reported(error);
    }
}

Document* parseXMLText(const unsigned short* text, uint32_t length, uint32_t flags)
{
    try {
        return parseUnit(new XMLParserSrcUnit("unknown", text, length), flags);
    } catch (const XMLParseError& error) {
        return reported(error);
    }
}

} // namespace KILN
