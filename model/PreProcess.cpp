#include "model/PreProcess.h"

#include "kiln/base/Document.h"
#include "kiln/base/Utf.h"
#include "model/Transcoding.h"
#include "model/TreeWalk.h"
#include "model/XmlLookup.h"

#include <vector>

// Each text node is cut into pieces the engine sees and pieces it never
// sees: a marked reference (U+0001 ... U+0002) is copied as it is, and so is
// a lone surrogate or a zero unit, which UTF-8 text for the engine cannot
// carry. The engine divides a piece (or, in text that is not divided, only
// escapes it) and writes the author's "_", "~", "｜" and "＼" escaped, so
// that the post-process gives them back. Pieces of ASCII without "_" or "~"
// skip the engine, which would copy them unchanged.

#include "engine/LiteralText.h"
#include "model/PageBreaks.h"

using KILN::Node;
using KILN::TString;

namespace {

constexpr unsigned short ReferenceStart = 0x0001;
constexpr unsigned short ReferenceEnd = 0x0002;
// Text a worker divides at a time in a large body: large enough that handing
// it out costs little, small enough to share a chapter between the cores.
constexpr size_t BatchUnits = 32 * 1024;

class TextDivider {
public:
    explicit TextDivider(const EngineContext& context) : m_context(context) {}

    // Divides the node's text in place, or with divide false only escapes
    // it; a text without anything to divide or escape is left as it is.
    void divide(Node& text, bool divide)
    {
        if (rewritten(text, divide))
            text.setNodeValue(m_result.data(), static_cast<uint32_t>(m_result.size()));
    }

    // The same into result, leaving the node as it is: answers whether the
    // text changes.
    bool rewrite(const Node& text, bool divide, std::vector<unsigned short>& result)
    {
        if (!rewritten(text, divide))
            return false;
        result.swap(m_result);
        return true;
    }

private:
    // The node's new text in m_result; answers whether it differs.
    bool rewritten(const Node& text, bool divide)
    {
        const KILN::Utf16String& value = *text.getNodeValue();
        const unsigned short* units = value.data();
        const uint32_t length = value.length();
        m_result.clear();
        m_changed = false;
        uint32_t from = 0;
        bool forEngine = false;
        for (uint32_t i = 0; i < length; ++i) {
            const unsigned short unit = units[i];
            if (unit >= 0x80 && !KILN::utf::isHighSurrogate(unit) && !KILN::utf::isLowSurrogate(unit)) {
                forEngine = true;
                continue;
            }
            if (KILN::utf::isHighSurrogate(unit) && i + 1 < length && KILN::utf::isLowSurrogate(units[i + 1])) {
                forEngine = true;
                ++i;
                continue;
            }
            if (unit == '_' || unit == '~') {
                forEngine = true;
                continue;
            }
            if (unit != ReferenceStart && unit != 0 && unit < 0x80)
                continue;
            uint32_t end = i + 1;
            if (unit == ReferenceStart) {
                while (end < length && units[end - 1] != ReferenceEnd)
                    ++end;
            }
            flush(units + from, i - from, forEngine, divide);
            forEngine = false;
            m_result.insert(m_result.end(), units + i, units + end);
            from = end;
            i = end - 1;
        }
        flush(units + from, length - from, forEngine, divide);
        return m_changed;
    }

    // Appends a piece, through the engine when it needs it.
    void flush(const unsigned short* piece, uint32_t length, bool forEngine, bool divide)
    {
        if (!forEngine) {
            m_result.insert(m_result.end(), piece, piece + length);
            return;
        }
        utf16ToUtf8(piece, length, m_input);
        m_divided.clear();
        if (divide)
            divideLiteralText(m_context, m_input, m_divided);
        else
            escapeLiteralText(m_context, m_input, m_divided);
        utf8ToUtf16(m_divided.data(), m_divided.length(), m_back);
        m_result.insert(m_result.end(), m_back.data(), m_back.data() + m_back.length());
        m_changed = true;
    }

    const EngineContext& m_context;
    // Buffers kept from node to node.
    std::vector<unsigned short> m_result;
    TString<char> m_input;
    TString<char> m_divided;
    TString<unsigned short> m_back;
    bool m_changed = false;
};

// A text node of the body in document order, and whether it is divided
// (else only escaped).
struct BodyText {
    Node* node;
    bool divide;
};

std::vector<BodyText> bodyTexts(KILN::Element& body)
{
    std::vector<BodyText> texts;
    // Node names are atoms of the document: a name no node has is null here.
    KILN::AtomTable& names = body.getOwnerDocument()->names();
    // A CDATA section made by the parser has the text node type too; only
    // its name tells it apart.
    const KILN::Utf16String* textName = names.lookup(KILN::Utf16String(units(u"#text")));
    // The ruby element or page break being walked: its text already carries
    // its reading or is a page label, and is only escaped, as is a CDATA
    // section. Script and style are code and stay as they are.
    const KILN::Element* undivided = nullptr;
    walkXhtml(
        body,
        [&](KILN::Element& element) {
            if (isCodeElement(element))
                return Descend::No;
            if (!undivided && element.hasChildNodes() && (hasLocalName(element, u"ruby") || isPageBreak(element)))
                undivided = &element;
            return Descend::Yes;
        },
        [&](Node& node) {
            if (node.getNodeType() == Node::TEXT_NODE)
                texts.push_back({&node, !undivided && node.getNodeName() == textName});
        },
        [&](KILN::Element& element) {
            if (&element == undivided)
                undivided = nullptr;
        });
    return texts;
}

// The ends of runs of consecutive texts of about BatchUnits each.
std::vector<size_t> batchEnds(const std::vector<BodyText>& texts)
{
    std::vector<size_t> ends;
    size_t units = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        units += texts[i].node->getNodeValue()->length();
        if (units >= BatchUnits) {
            ends.push_back(i + 1);
            units = 0;
        }
    }
    if (ends.empty() || ends.back() != texts.size())
        ends.push_back(texts.size());
    return ends;
}

void divideInPlace(const std::vector<BodyText>& texts, const EngineContext& context)
{
    TextDivider divider(context);
    for (const BodyText& text : texts)
        divider.divide(*text.node, text.divide);
}

} // namespace

void preProcessBody(KILN::Element& body, const EngineContext& context)
{
    divideInPlace(bodyTexts(body), context);
}

void preProcessBody(KILN::Element& body, const std::vector<const EngineContext*>& contexts, WorkerPool& pool,
                    unsigned worker)
{
    const std::vector<BodyText> texts = bodyTexts(body);
    const std::vector<size_t> ends = batchEnds(texts);
    if (pool.size() < 2 || ends.size() < 2) {
        divideInPlace(texts, *contexts[worker]);
        return;
    }
    // The workers only read the tree; its texts are replaced in order after.
    std::vector<std::vector<unsigned short>> values(texts.size());
    std::vector<uint8_t> changed(texts.size(), 0);
    pool.run(ends.size(), [&](size_t batch, unsigned batchWorker) {
        TextDivider divider(*contexts[batchWorker]);
        for (size_t i = batch == 0 ? 0 : ends[batch - 1]; i < ends[batch]; ++i)
            changed[i] = divider.rewrite(*texts[i].node, texts[i].divide, values[i]);
    });
    for (size_t i = 0; i < texts.size(); ++i) {
        if (changed[i])
            texts[i].node->setNodeValue(values[i].data(), static_cast<uint32_t>(values[i].size()));
    }
}

