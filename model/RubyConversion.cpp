// convertRuby: every text node below the body whose notation holds a ruby is
// replaced by its units: text nodes and ruby elements. A text of plain text
// alone keeps its node, with its escaped notation characters written as the
// characters.

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"
#include "kiln/base/Text.h"
#include "kiln/base/Utf8String.h"
#include "kiln/base/XMLParseReport.h"
#include "model/MarkedReferences.h"
#include "model/PostProcess.h"
#include "model/PrefixedNames.h"
#include "model/RubySyntax.h"
#include "model/TreeWalk.h"
#include "model/ZephraModelError.h"

#include <algorithm>
#include <memory>

using KILN::Element;
using KILN::Node;
using KILN::Utf16String;

namespace {

constexpr unsigned short OpeningParenthesis = 0xFF08;  // （
constexpr unsigned short ClosingParenthesis = 0xFF09;  // ）

// Where the notation at fault stands in the text, with the text around it as
// written in the file: a message quotes that, not a whole paragraph.
KILN::Utf8String faultExcerpt(const Utf16String& text, const RubySyntaxToken& token)
{
    const Utf16String written = MarkedReferences::written(text);
    const unsigned short* units = written.data();
    return KILN::Utf8String(KILN::excerptAround(units, units + notationStart(token), units + written.length()));
}

class RubyMarkup {
public:
    RubyMarkup(KILN::Document& document, bool rpOutput)
        : m_document(document), m_rpOutput(rpOutput), m_names({u"ruby", u"rb", u"rt", u"rp"}), m_class("class"),
          m_original("original")
    {
        m_opening.append(OpeningParenthesis);
        m_closing.append(ClosingParenthesis);
    }

    // Inserts the units after text, in order, and destroys text.
    void replace(Node& text, const std::vector<RubySyntaxRubyUnit>& units)
    {
        Node& parent = *text.getParentNode();
        m_names.into(parent);
        Node* previous = &text;
        for (const RubySyntaxRubyUnit& unit : units) {
            std::unique_ptr<Node> node(unit.kind == RubySyntaxRubyUnit::Plain ? newText(unit.plain->text) : newRuby(unit));
            parent.insertAfter(node.get(), previous);
            previous = node.release();
        }
        delete parent.removeChild(&text);
    }

private:
    Node* newText(const Utf16String& text) { return new KILN::Text(&m_document, &text); }

    Element* newRuby(const RubySyntaxRubyUnit& unit)
    {
        std::unique_ptr<Element> ruby(new Element(&m_document, m_names[Ruby]));
        const int32_t firstKind = unit.pairs.front().reading->kind;
        if (firstKind == RubySyntaxToken::AngleLast || firstKind == RubySyntaxToken::AngleMore)
            ruby->setAttribute(m_class, &m_original);
        for (const RubySyntaxRubyPair& pair : unit.pairs) {
            append(*ruby, m_names[Rb], pair.base->text);
            if (m_rpOutput)
                append(*ruby, m_names[Rp], m_opening);
            append(*ruby, m_names[Rt], pair.reading->text);
            if (m_rpOutput)
                append(*ruby, m_names[Rp], m_closing);
        }
        return ruby.release();
    }

    // Appends to parent an element of that name holding one text node.
    void append(Element& parent, const Utf16String& name, const Utf16String& text)
    {
        Element* element = new Element(&m_document, name);
        parent.appendChild(element);
        element->appendChild(newText(text));
    }

    enum Name { Ruby, Rb, Rt, Rp };

    KILN::Document& m_document;
    bool m_rpOutput;
    PrefixedNames m_names;
    const Utf16String m_class, m_original;
    Utf16String m_opening, m_closing;
};

} // namespace

void convertRuby(KILN::Element& body, KILN::Document& document, const char* label, bool rpOutput)
{
    RubyMarkup markup(document, rpOutput);
    std::vector<RubySyntaxToken> tokens;
    std::vector<RubySyntaxRubyUnit> units;
    forEachText(body, [&](Node& node) {
        tokens.clear();
        units.clear();
        tokenizeRuby(*node.getNodeValue(), tokens);
        const bool plain = std::all_of(tokens.begin(), tokens.end(),
                                       [](const RubySyntaxToken& t) { return t.kind == RubySyntaxToken::Plain; });
        if (plain) {
            // The escapes are all the tokens leave out of the text.
            if (tokens.size() == 1 && tokens.front().text.length() != node.getNodeValue()->length())
                node.setNodeValue(tokens.front().text);
            return;
        }
        size_t failed = 0;
        if (parseRuby(tokens, units, &failed) != 0)
            raiseModelError(23, "Ruby parser syntax error. %s:%s", label,
                            faultExcerpt(*node.getNodeValue(), tokens[failed]).zeroTerminated());
        markup.replace(node, units);
    });
}
