#include "model/PreProcess.h"

#include "engine/WordDivision.h"
#include "kiln/base/Document.h"
#include "kiln/base/Utf.h"
#include "model/Transcoding.h"
#include "model/TreeWalk.h"
#include "model/XmlLookup.h"

#include <vector>

// Each text node is cut into pieces the engine divides and pieces it never
// sees: a marked reference (U+0001 ... U+0002) is copied as it is; an ASCII
// "_" or "~" is written doubled, which the post-process reads as the
// character itself; a lone surrogate or a zero unit, which UTF-8 text for the
// engine cannot carry, is copied as it is. Every piece is divided on its own
// into an empty buffer, since the kazenoha phrase tables act on all of the
// buffer and would take a mark after "、" out of a doubled "__". Pieces of
// ASCII alone skip the engine, which copies ASCII unchanged.

using KILN::Node;
using KILN::TString;

namespace {

constexpr unsigned short ReferenceStart = 0x0001;
constexpr unsigned short ReferenceEnd = 0x0002;


class TextDivider {
public:
    explicit TextDivider(const EngineContext& context) : m_context(context) {}

    // Divides the node's text in place; a text without anything to divide or
    // double is left as it is.
    void divide(Node& text)
    {
        const KILN::Utf16String& value = *text.getNodeValue();
        const unsigned short* units = value.data();
        const uint32_t length = value.length();
        m_result.clear();
        m_changed = false;
        uint32_t from = 0;
        bool dividable = false;
        for (uint32_t i = 0; i < length; ++i) {
            const unsigned short unit = units[i];
            if (unit >= 0x80 && !KILN::utf::isHighSurrogate(unit) && !KILN::utf::isLowSurrogate(unit)) {
                dividable = true;
                continue;
            }
            if (KILN::utf::isHighSurrogate(unit) && i + 1 < length && KILN::utf::isLowSurrogate(units[i + 1])) {
                dividable = true;
                ++i;
                continue;
            }
            uint32_t end = i + 1;
            if (unit == ReferenceStart) {
                while (end < length && units[end - 1] != ReferenceEnd)
                    ++end;
            } else if (unit != '_' && unit != '~' && unit != 0 && unit < 0x80) {
                continue;
            }
            flush(units + from, i - from, dividable);
            dividable = false;
            m_result.insert(m_result.end(), units + i, units + end);
            if (unit == '_' || unit == '~') {
                m_result.push_back(unit);
                m_changed = true;
            }
            from = end;
            i = end - 1;
        }
        flush(units + from, length - from, dividable);
        if (m_changed)
            text.setNodeValue(m_result.data(), static_cast<uint32_t>(m_result.size()));
    }

private:
    // Appends a piece, divided when it holds anything but ASCII.
    void flush(const unsigned short* piece, uint32_t length, bool dividable)
    {
        if (!dividable) {
            m_result.insert(m_result.end(), piece, piece + length);
            return;
        }
        utf16ToUtf8(piece, length, m_input);
        m_divided.clear();
        divideText(m_context, m_input, m_divided);
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

// Elements whose text is not running text to divide: ruby already carries
// its reading, script and style are code.
bool isSkipped(const Node& element, const KILN::Utf16String* const (&skipped)[3])
{
    const KILN::Utf16String* name = element.getNodeName();
    return name == skipped[0] || name == skipped[1] || name == skipped[2];
}

} // namespace

void preProcessBody(KILN::Element& body, const EngineContext& context)
{
    // Node names are atoms of the document: a name no node has is null here.
    KILN::AtomTable& names = body.getOwnerDocument()->names();
    const KILN::Utf16String* const skipped[3] = {
        names.lookup(KILN::Utf16String(units(u"ruby"))),
        names.lookup(KILN::Utf16String(units(u"script"))),
        names.lookup(KILN::Utf16String(units(u"style"))),
    };
    // A CDATA section made by the parser has the text node type too; only
    // its name tells it apart.
    const KILN::Utf16String* textName = names.lookup(KILN::Utf16String(units(u"#text")));
    TextDivider divider(context);
    walkXhtml(
        body, [&](const KILN::Element& element) { return isSkipped(element, skipped) ? Descend::No : Descend::Yes; },
        [&](Node& node) {
            if (node.getNodeType() == Node::TEXT_NODE && node.getNodeName() == textName)
                divider.divide(node);
        });
}
