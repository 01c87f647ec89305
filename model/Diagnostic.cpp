#include "model/Diagnostic.h"

#include "kiln/base/Utf8String.h"

#include <string>

std::string Diagnostic::text() const
{
    std::string line = document;
    if (positioned)
        line += ':' + std::to_string(position.line) + ':' + std::to_string(position.column);
    line += severity == Severity::Error ? ": error: " : ": warning: ";
    return line + message;
}

std::string quoted(const KILN::Utf16String& text)
{
    return '"' + std::string(KILN::Utf8String(text).zeroTerminated()) + '"';
}

Diagnostic xmlDiagnostic(const std::string& document, const KILN::XMLParseReport& report)
{
    Diagnostic diagnostic;
    diagnostic.document = document;
    if (report.code == 0) {
        diagnostic.positioned = false;
        diagnostic.message = "the document cannot be read or decoded";
        return diagnostic;
    }
    diagnostic.position = report.position;
    diagnostic.message = "XML error " + std::to_string(report.code) + ": " + report.message;
    if (!report.detail.isEmpty())
        diagnostic.message += ' ' + std::string(report.detail.data(), report.detail.length());
    if (!report.excerpt.isEmpty())
        diagnostic.message += " near " + quoted(report.excerpt);
    return diagnostic;
}

std::vector<std::string> diagnosticLines(const std::vector<Diagnostic>& diagnostics)
{
    std::vector<std::string> lines;
    for (const Diagnostic& diagnostic : diagnostics)
        lines.push_back(diagnostic.text());
    return lines;
}

std::string nameInBook(const KILN::PathString& workDirectory, const KILN::PathString& path)
{
    const std::string full = KILN::Utf8String(static_cast<const KILN::Utf16String&>(path)).zeroTerminated();
    std::string folder = KILN::Utf8String(static_cast<const KILN::Utf16String&>(workDirectory)).zeroTerminated();
    if (folder.empty())
        return full;
    if (folder.back() != '/')
        folder += '/';
    return full.compare(0, folder.size(), folder) == 0 ? full.substr(folder.size()) : full;
}
