#include "kiln/base/ParseXMLFile.h"

#include "kiln/base/DOMImplementation.h"
#include "kiln/base/XMLParser.h"
#include "kiln/base/XMLReader.h"

#include <cstdio>

namespace KILN {

namespace {

// Parses the document text of unit (taken over); a grammar error goes into
// report, with where it was found.
Document* parseUnit(XMLParserSrcUnit* unit, uint32_t flags, XMLParseReport& report, XMLSourceMap* sources)
{
    // A byte-order mark that survived decoding is not part of the document.
    if (unit->cursor < unit->end && *unit->cursor == 0xFEFF)
        ++unit->cursor;
    XMLParserSrc src;
    src.push(unit);
    DOMImplementation implementation;
    XMLParser parser(src, &implementation, flags);
    parser.recordSources(sources);
    try {
        return parser.parse();
    } catch (const XMLParseError& error) {
        report.code = error.code();
        report.message = error.message();
        report.detail = error.detail();
        report.position = src.position();
        report.excerpt = src.excerpt();
        return nullptr;
    }
}

Document* printed(Document* document, const XMLParseReport& report)
{
    printParseReport(report);
    return document;
}

// Parses the unit that read answers from a reader on messages.
template <class Read>
Document* parseRead(TextWriter<unsigned short>* messages, uint32_t flags, XMLParseReport& report,
                    XMLSourceMap* sources, Read read)
{
    report = XMLParseReport();
    try {
        XMLReader reader(messages);
        XMLParserSrcUnit* unit = read(reader);
        return unit ? parseUnit(unit, flags, report, sources) : nullptr;
    } catch (const XMLParseError& error) {
        // Raised while the text was decoded, before there was a position.
        report.code = error.code();
        report.message = error.message();
        report.detail = error.detail();
        return nullptr;
    }
}

} // namespace

Document* parseXMLFile(const unsigned short* path, TextWriter<unsigned short>* messages, uint32_t flags,
                       XMLParseReport& report, XMLSourceMap* sources)
{
    return parseRead(messages, flags, report, sources, [path](XMLReader& reader) { return reader.openFile(path); });
}

Document* parseXMLBytes(const uint8_t* bytes, uint32_t length, TextWriter<unsigned short>* messages, uint32_t flags,
                        XMLParseReport& report, XMLSourceMap* sources)
{
    return parseRead(messages, flags, report, sources,
                     [bytes, length](XMLReader& reader) { return reader.decode(bytes, length); });
}

Document* parseXMLFile(const unsigned short* path, TextWriter<unsigned short>* messages, uint32_t flags)
{
    XMLParseReport report;
    return printed(parseXMLFile(path, messages, flags, report), report);
}

void printParseReport(const XMLParseReport& report)
{
    if (report.code != 0) {
        XMLParseError error(report.code, report.detail);
        const TString<char> line = error.report();
        std::fwrite(line.data(), 1, line.length(), stderr);
    }
}

Document* parseXMLText(const unsigned short* text, uint32_t length, uint32_t flags, XMLParseReport& report,
                       XMLSourceMap* sources)
{
    report = XMLParseReport();
    return parseUnit(new XMLParserSrcUnit("unknown", text, length), flags, report, sources);
}

Document* parseXMLText(const unsigned short* text, uint32_t length, uint32_t flags)
{
    XMLParseReport report;
    return printed(parseXMLText(text, length, flags, report), report);
}

} // namespace KILN
