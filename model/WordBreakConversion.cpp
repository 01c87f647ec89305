// convertWordBreaks: a single "_" or "~" in a text node below the body splits
// the node there and a wbr element takes its place; a doubled one stands for
// the character itself.

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"
#include "kiln/base/Text.h"
#include "model/MarkedReferences.h"
#include "model/PostProcess.h"
#include "model/PrefixedNames.h"
#include "model/TreeWalk.h"

#include <algorithm>
#include <memory>
#include <vector>

using KILN::Element;
using KILN::Node;
using KILN::Utf16String;

namespace {

constexpr unsigned short Division = '_';
constexpr unsigned short ParticleDivision = '~';

bool isMark(unsigned short unit)
{
    return unit == Division || unit == ParticleDivision;
}

class WordBreaks {
public:
    explicit WordBreaks(KILN::Document& document)
        : m_document(document), m_wbr({u"wbr"}), m_class("class"), m_sub("sub")
    {
    }

    // Splits text at its division marks; leaves it alone when it has none.
    void split(Node& text)
    {
        const Utf16String& value = *text.getNodeValue();
        if (std::none_of(value.data(), value.dataEnd(), isMark))
            return;
        // A copy: the first piece becomes the node's own value.
        const Utf16String source(value);
        const unsigned short* const units = source.data();
        const uint32_t length = source.length();
        MarkedReferences references(source);
        m_text = &text;
        m_wbr.into(*text.getParentNode());
        m_previous = &text;
        m_flushed = false;
        m_piece.clear();
        bool changed = false;
        uint32_t runStart = 0;
        uint32_t p = 0;
        while (p < length) {
            const uint32_t after = references.skip(p);
            if (after != p) {
                p = after;
                continue;
            }
            if (!isMark(units[p])) {
                ++p;
                continue;
            }
            changed = true;
            m_piece.insert(m_piece.end(), units + runStart, units + p);
            if (p + 1 < length && units[p + 1] == units[p]) {
                m_piece.push_back(units[p]);
                p += 2;
            } else {
                flush();
                insertWbr(units[p] == ParticleDivision);
                p += 1;
            }
            runStart = p;
        }
        if (!changed)
            return;
        m_piece.insert(m_piece.end(), units + runStart, units + length);
        if (!m_piece.empty() || !m_flushed)
            flush();
    }

private:
    // The first piece is the node's own value; later ones are new text nodes.
    void flush()
    {
        const uint32_t size = static_cast<uint32_t>(m_piece.size());
        if (!m_flushed) {
            m_text->setNodeValue(m_piece.data(), size);
            m_flushed = true;
        } else {
            std::unique_ptr<Node> node(new KILN::Text(&m_document, nullptr));
            node->setNodeValue(m_piece.data(), size);
            insert(std::move(node));
        }
        m_piece.clear();
    }

    void insertWbr(bool sub)
    {
        std::unique_ptr<Node> wbr(new Element(&m_document, m_wbr[0]));
        if (sub)
            static_cast<Element&>(*wbr).setAttribute(m_class, &m_sub);
        insert(std::move(wbr));
    }

    void insert(std::unique_ptr<Node> node)
    {
        m_previous->getParentNode()->insertAfter(node.get(), m_previous);
        m_previous = node.release();
    }

    KILN::Document& m_document;
    PrefixedNames m_wbr;
    const Utf16String m_class, m_sub;
    Node* m_text = nullptr;
    Node* m_previous = nullptr;
    bool m_flushed = false;
    // The text of the piece being gathered; reused from node to node.
    std::vector<unsigned short> m_piece;
};

} // namespace

void convertWordBreaks(KILN::Element& body, KILN::Document& document)
{
    WordBreaks breaks(document);
    forEachText(body, [&](Node& node) { breaks.split(node); });
}
