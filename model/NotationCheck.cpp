#include "model/NotationCheck.h"

#include "kiln/base/Node.h"
#include "model/MarkedReferences.h"
#include "model/RubySyntax.h"
#include "model/TreeWalk.h"

using KILN::Utf16String;

namespace {

constexpr unsigned short Bar = 0xFF5C;           // ｜
constexpr unsigned short ReadingOpen = 0x300A;   // 《
constexpr unsigned short ReadingClose = 0x300B;  // 》

bool isKanji(unsigned short unit)
{
    return (unit >= 0x4E00 && unit <= 0x9FFF) || (unit >= 0x3400 && unit <= 0x4DBF) || (unit >= 0xF900 && unit <= 0xFAFF)
        || unit == 0x3005;  // 々
}

bool isKana(unsigned short unit)
{
    return (unit >= 0x3041 && unit <= 0x309F) || (unit >= 0x30A0 && unit <= 0x30FF);
}

bool isAsciiLetter(unsigned short unit)
{
    return (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z');
}

template <class Test>
bool holds(const Utf16String& text, Test test)
{
    for (uint32_t i = 0; i < text.length(); ++i) {
        if (test(text[i]))
            return true;
    }
    return false;
}

bool isMore(int32_t kind)
{
    return kind == RubySyntaxToken::AngleMore || kind == RubySyntaxToken::DoubleAngleMore;
}

// The problems of one text node, placed from where the node starts.
class NodeCheck {
public:
    NodeCheck(const Utf16String& text, KILN::XMLSourcePosition start, const std::string& document,
              std::vector<Diagnostic>& diagnostics)
        : m_text(text), m_start(start), m_counted(start), m_document(document), m_diagnostics(diagnostics)
    {
    }

    void run()
    {
        tokenizeRuby(m_text, m_tokens);
        std::vector<RubySyntaxRubyUnit> units;
        size_t failed = 0;
        // A malformed notation is the one problem told of its text: the marks
        // it leaves over would only repeat it.
        if (const int32_t error = parseRuby(m_tokens, units, &failed)) {
            add(Diagnostic::Severity::Error, notationStart(m_tokens[failed]),
                std::string("malformed ruby notation: ") + rubyErrorMessage(error));
            return;
        }
        for (const RubySyntaxToken& token : m_tokens) {
            if (token.kind == RubySyntaxToken::Plain)
                strayMarks(token);
        }
        for (const RubySyntaxRubyUnit& unit : units) {
            for (const RubySyntaxRubyPair& pair : unit.pairs)
                slips(pair);
        }
    }

private:
    void strayMarks(const RubySyntaxToken& token)
    {
        const Utf16String& text = token.text;
        MarkedReferences references(text);
        for (uint32_t i = 0; i < text.length();) {
            const uint32_t after = references.skip(i);
            if (after != i) {
                i = after;
                continue;
            }
            if (text[i] == Bar && i + 1 < text.length() && text[i + 1] == Bar) {
                i += 2;
                continue;
            }
            if (text[i] == Bar || text[i] == ReadingOpen || text[i] == ReadingClose)
                add(Diagnostic::Severity::Warning, token.offset + i, "a notation mark outside any ruby notation");
            ++i;
        }
    }

    void slips(const RubySyntaxRubyPair& pair)
    {
        const Utf16String& reading = pair.reading->text;
        const uint32_t readingAt = notationStart(*pair.reading);
        if (isMore(pair.reading->kind))
            add(Diagnostic::Severity::Warning, pair.reading->offset + reading.length(),
                "the reading runs into the next ｜ (a missing closing bracket makes a group)");
        if (reading.isEmpty())
            add(Diagnostic::Severity::Warning, readingAt, "an empty reading");
        if (holds(reading, [](unsigned short u) { return u == '_' || u == '~'; }))
            add(Diagnostic::Severity::Warning, readingAt, "a division mark in a reading");
        if (holds(reading, isKanji))
            add(Diagnostic::Severity::Warning, readingAt, "a kanji in a reading");
        if (holds(reading, isAsciiLetter))
            add(Diagnostic::Severity::Warning, readingAt, "an ASCII letter in a reading");
        const Utf16String& base = pair.base->text;
        if (!base.isEmpty() && !holds(base, [](unsigned short u) { return !isKana(u); }))
            add(Diagnostic::Severity::Warning, notationStart(*pair.base), "a base of kana only");
    }

    // Adds a problem at the offset of the node's text, with an excerpt there.
    void add(Diagnostic::Severity severity, uint32_t offset, std::string message)
    {
        // Each kind of problem comes in the order of the text, one kind after
        // the other: counting on from the last place, and from the start
        // only when going back, stays linear.
        if (offset < m_countedTo) {
            m_countedTo = 0;
            m_counted = m_start;
        }
        const unsigned short* units = m_text.data();
        KILN::advancePosition(m_counted, units + m_countedTo, units + offset);
        m_countedTo = offset;
        const KILN::XMLSourcePosition position = m_counted;
        if (m_written.isEmpty())
            m_written = MarkedReferences::written(m_text);
        const unsigned short* written = m_written.data();
        const Utf16String excerpt = KILN::excerptAround(written, written + offset, written + m_written.length());
        m_diagnostics.push_back(Diagnostic{m_document, position, true, severity, message + ": " + quoted(excerpt)});
    }

    const Utf16String& m_text;
    KILN::XMLSourcePosition m_start;
    KILN::XMLSourcePosition m_counted;  // the place of offset m_countedTo
    uint32_t m_countedTo = 0;
    const std::string& m_document;
    std::vector<Diagnostic>& m_diagnostics;
    std::vector<RubySyntaxToken> m_tokens;
    Utf16String m_written;
};

} // namespace

const char* rubyErrorMessage(int32_t error)
{
    switch (error) {
    case 1: return "a reading without a base";
    case 2: return "a base whose reading is never closed";
    case 3: return "a base not followed by its reading";
    case 4: return "a group ending in a separating ｜";
    case 5: return "a separating ｜ not followed by a base and its reading";
    case 6: return "a base in a group whose reading is never closed";
    default: return "a base in a group not followed by its reading";
    }
}

void checkNotation(KILN::Element& body, const KILN::XMLSourceMap& sources, const std::string& document,
                   std::vector<Diagnostic>& diagnostics)
{
    forEachText(body, [&](KILN::Node& node) {
        const KILN::XMLSourcePosition* start = sources.textPosition(&node);
        NodeCheck(*node.getNodeValue(), start ? *start : KILN::XMLSourcePosition{}, document, diagnostics).run();
    });
}
