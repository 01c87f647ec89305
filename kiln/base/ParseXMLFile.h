#pragma once

#include "kiln/base/TextWriter.h"
#include "kiln/base/XMLParseReport.h"
#include "kiln/base/XMLSourceMap.h"

#include <cstdint>

namespace KILN {

class Document;

// The parse entries. Each answers a new document that the caller owns, or
// null; a grammar error is reported as one line "ERROR:%d: %s\n" on the
// standard error stream. flags are the XMLScanner::Flags. A leading
// byte-order mark of the decoded text is not part of the document.

// Parses the file at path (zero-terminated UTF-16). A file that cannot be
// opened or decoded answers null without a report. messages is handed to the
// reader (null: the library's default writer).
Document* parseXMLFile(const unsigned short* path, TextWriter<unsigned short>* messages, uint32_t flags);

// The same, for a caller that shows the error itself: a grammar error goes
// into report (not to the standard error stream), and sources, when given,
// records where the text nodes and mismatched end tags stood.
Document* parseXMLFile(const unsigned short* path, TextWriter<unsigned short>* messages, uint32_t flags,
                       XMLParseReport& report, XMLSourceMap* sources = nullptr);

// The same for the bytes of a file read already: decoded as the file would
// be, answering null without a report when they cannot be decoded.
Document* parseXMLBytes(const uint8_t* bytes, uint32_t length, TextWriter<unsigned short>* messages, uint32_t flags,
                        XMLParseReport& report, XMLSourceMap* sources = nullptr);

// Writes the line of the grammar error in report (none when its code is 0)
// on the standard error stream, as the entries without a report do.
void printParseReport(const XMLParseReport& report);

// Parses UTF-16 text.
Document* parseXMLText(const unsigned short* text, uint32_t length, uint32_t flags);
Document* parseXMLText(const unsigned short* text, uint32_t length, uint32_t flags, XMLParseReport& report,
                       XMLSourceMap* sources = nullptr);

} // namespace KILN
