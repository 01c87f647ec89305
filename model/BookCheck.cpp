#include "model/BookCheck.h"

#include "kiln/base/Utf8String.h"
#include "model/ContentDocument.h"
#include "model/DocumentFile.h"
#include "model/NotationCheck.h"

#include <algorithm>

namespace {

Diagnostic missing(const std::string& name)
{
    return Diagnostic{name, {}, false, Diagnostic::Severity::Error, "the document is missing"};
}

std::string utf8(const KILN::Utf16String& text)
{
    return KILN::Utf8String(text).zeroTerminated();
}

} // namespace

void BookCheck::checkContent(const KILN::PathString& path, const std::string& name)
{
    ++m_documents;
    const size_t first = m_diagnostics.size();
    KILN::XMLParseReport report;
    KILN::XMLSourceMap sources;
    std::unique_ptr<KILN::Document> document;
    if (!found(readDocument(path, CheckParseFlags, report, document, &sources), name, report))
        return;
    if (KILN::Element* body = findBody(*document))
        checkNotation(*body, sources, name, m_diagnostics);
    for (const KILN::XMLSourceMap::Mismatch& mismatch : sources.mismatches()) {
        m_diagnostics.push_back(Diagnostic{name, mismatch.position, true, Diagnostic::Severity::Warning,
                                           "the end tag </" + utf8(mismatch.closed) + "> closes <" + utf8(mismatch.opened)
                                               + "> (accepted as if it named it)"});
    }
    sortFrom(first);
}

void BookCheck::checkParses(const KILN::PathString& path, const std::string& name)
{
    ++m_documents;
    KILN::XMLParseReport report;
    std::unique_ptr<KILN::Document> document;
    found(readDocument(path, CheckParseFlags, report, document), name, report);
}

bool BookCheck::found(ReadResult read, const std::string& name, const KILN::XMLParseReport& report)
{
    if (read == ReadResult::NoRegularFile)
        m_diagnostics.push_back(missing(name));
    else if (read == ReadResult::NotParsed)
        m_diagnostics.push_back(xmlDiagnostic(name, report));
    return read == ReadResult::Parsed;
}

uint32_t BookCheck::errors() const
{
    return static_cast<uint32_t>(
        std::count_if(m_diagnostics.begin(), m_diagnostics.end(), [](const Diagnostic& d) { return d.isError(); }));
}

std::string BookCheck::summary() const
{
    return std::to_string(errors()) + " errors, " + std::to_string(warnings()) + " warnings in "
        + std::to_string(m_documents) + " documents";
}

void BookCheck::sortFrom(size_t first)
{
    std::stable_sort(m_diagnostics.begin() + static_cast<std::ptrdiff_t>(first), m_diagnostics.end(),
                     [](const Diagnostic& a, const Diagnostic& b) {
                         return a.position.line != b.position.line ? a.position.line < b.position.line
                                                                   : a.position.column < b.position.column;
                     });
}
