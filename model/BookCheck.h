#pragma once

#include "kiln/base/PathString.h"
#include "model/Diagnostic.h"
#include "model/DocumentFile.h"

#include <cstdint>
#include <string>
#include <vector>

// A check of a book's documents as the post-process reads them, writing
// nothing: every document that does not parse, every malformed ruby notation
// (errors: the post-process fails on them) and the notation that is most
// likely a slip (warnings), in the order of the documents and, within one,
// of its text.
class BookCheck {
public:
    // Checks the content document at path, which the book names name.
    void checkContent(const KILN::PathString& path, const std::string& name);
    // Checks that the document at path parses (the navigation document).
    void checkParses(const KILN::PathString& path, const std::string& name);

    const std::vector<Diagnostic>& diagnostics() const { return m_diagnostics; }
    uint32_t errors() const;
    uint32_t warnings() const { return static_cast<uint32_t>(m_diagnostics.size()) - errors(); }
    uint32_t documents() const { return m_documents; }
    // "N errors, M warnings in K documents".
    std::string summary() const;

private:
    void sortFrom(size_t first);
    // Records what kept a read from parsing a document; true when it parsed.
    bool found(ReadResult read, const std::string& name, const KILN::XMLParseReport& report);

    std::vector<Diagnostic> m_diagnostics;
    uint32_t m_documents = 0;
};
