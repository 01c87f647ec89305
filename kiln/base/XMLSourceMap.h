#pragma once

#include "kiln/base/Utf16String.h"
#include "kiln/base/XMLParseReport.h"

#include <unordered_map>
#include <vector>

namespace KILN {

class Node;

// Where the parts of a parsed document stood in its text, recorded by the
// parser on request (a check of a book wants them, a conversion does not pay
// for them): the start of every text node of element content, and each end
// tag that names another element than the one it closes. Nodes are keys
// only; the map is for a document that is not changed after the parse.
class XMLSourceMap {
public:
    struct Mismatch {
        XMLSourcePosition position;  // of the "</"
        Utf16String opened;
        Utf16String closed;
    };

    void addText(const Node* text, XMLSourcePosition position) { m_texts.emplace(text, position); }
    void addMismatch(Mismatch mismatch) { m_mismatches.push_back(std::move(mismatch)); }

    // The start of a text node of the document, or null for one not recorded.
    const XMLSourcePosition* textPosition(const Node* text) const
    {
        const auto found = m_texts.find(text);
        return found == m_texts.end() ? nullptr : &found->second;
    }
    const std::vector<Mismatch>& mismatches() const { return m_mismatches; }

private:
    std::unordered_map<const Node*, XMLSourcePosition> m_texts;
    std::vector<Mismatch> m_mismatches;
};

} // namespace KILN
