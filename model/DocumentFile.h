#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/PathString.h"
#include "kiln/base/XMLParseReport.h"
#include "kiln/base/XMLSourceMap.h"

#include <cstdint>
#include <memory>

// Reading an XML file of the book into a document and writing one back, as
// every step of the model does.

// Parser flags of the container and the package document: namespaces on.
constexpr uint32_t PackageParseFlags = 0x804;
// Parser flags of content and navigation documents: names as written, every
// character and entity reference kept as a marked, atomic piece of text that
// the serializer writes back exactly as it was read (predefined entities
// expanded, written escaped again).
constexpr uint32_t ContentParseFlags = 0x2E06;
// The same for a check of the book: predefined entities stay marked too, so
// that every text holds its references at their written length and an
// offset in a text is an offset in the file.
constexpr uint32_t CheckParseFlags = 0x2A06;

// True when path names a regular file (or a symbolic link to one).
bool isRegularFile(const KILN::PathString& path);

// What a read of a document found.
enum class ReadResult {
    Parsed,
    NoRegularFile, // nothing, or no regular file, at the path: nothing was read
    NotParsed,     // a file that cannot be read or is not well-formed
};

// Parses the file at path with flags into document (null unless Parsed),
// telling why it did not parse in report instead of on the standard error
// stream, and recording its sources when a map is given. The file is opened
// once, and checked as the file it reads.
ReadResult readDocument(const KILN::PathString& path, uint32_t flags, KILN::XMLParseReport& report,
                        std::unique_ptr<KILN::Document>& document, KILN::XMLSourceMap* sources = nullptr);
// The document parsed from path with flags, or null when it is no regular
// file, cannot be read or is not well-formed.
std::unique_ptr<KILN::Document> readDocument(const KILN::PathString& path, uint32_t flags);
// The same, with report and sources as above.
std::unique_ptr<KILN::Document> readDocument(const KILN::PathString& path, uint32_t flags, KILN::XMLParseReport& report,
                                             KILN::XMLSourceMap* sources = nullptr);

enum class WriteResult { Done, OutputFailed, OpenFailed, WriteFailed };

// How a document's file is written.
enum class WritePlace {
    Replaced,   // a new file renamed over path once it is complete
    WorkFolder, // over the existing file of the working folder, in place
};

// Sets the declaration's "encoding" (when it has one) to "UTF-8", serializes
// the document and writes it as UTF-8 with a byte-order mark, replacing the
// file only once it is complete, or in place in the working folder, which a
// failed conversion removes. Answers which step failed.
WriteResult writeDocument(const KILN::PathString& path, KILN::Document& document,
                          WritePlace place = WritePlace::Replaced);
