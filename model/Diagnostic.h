#pragma once

#include "kiln/base/PathString.h"
#include "kiln/base/Utf16String.h"
#include "kiln/base/XMLParseReport.h"

#include <cstdint>
#include <string>
#include <vector>

// One problem found in a book, printed as compilers print theirs so that an
// editor can go to it: "document:LINE:COLUMN: error: message" (or
// "warning:"), or "document: error: message" for a document as a whole.
struct Diagnostic {
    enum class Severity { Error, Warning };

    std::string document;         // the path in the book, UTF-8
    KILN::XMLSourcePosition position;
    bool positioned = true;
    Severity severity = Severity::Error;
    std::string message;          // UTF-8

    bool isError() const { return severity == Severity::Error; }
    std::string text() const;
};

// The text as a message quotes it, in UTF-8.
std::string quoted(const KILN::Utf16String& text);

// The grammar error of a document that did not parse, or, when report holds
// none, a document that could not be read or decoded.
Diagnostic xmlDiagnostic(const std::string& document, const KILN::XMLParseReport& report);

// The lines of the diagnostics, in order.
std::vector<std::string> diagnosticLines(const std::vector<Diagnostic>& diagnostics);

// The name a book gives to the file at path of its unpacked tree in
// workDirectory (the path inside the archive), in UTF-8; the path itself when
// it lies outside or there is no such folder.
std::string nameInBook(const KILN::PathString& workDirectory, const KILN::PathString& path);
