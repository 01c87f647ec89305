#include "kiln/base/XMLOutputter.h"

#include "kiln/base/Iterator.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/Node.h"
#include "kiln/base/OFlow.h"
#include "kiln/base/Utf16ToUtf8OFlow.h"

#include <memory>

namespace KILN {

namespace {

// The entity name of a unit escaped in every mode, or null.
const char* entityOf(unsigned short unit)
{
    switch (unit) {
    case '<': return "lt";
    case '>': return "gt";
    case '&': return "amp";
    case '\'': return "apos";
    case '"': return "quot";
    default: return nullptr;
    }
}

constexpr unsigned short ReferenceStart = 0x0001;
constexpr unsigned short ReferenceEnd = 0x0002;

} // namespace

void XMLOutputter::writeUtf8(const Node& node, OFlow& bytes, uint32_t flags, bool byteOrderMark)
{
    Utf16ToUtf8OFlow flow(bytes, byteOrderMark);
    XMLOutputter outputter(flow, flags);
    node.output(outputter);
    flow.close();
}

void XMLOutputter::put(unsigned short unit)
{
    m_flow.write16(unit);
}

void XMLOutputter::write(const Utf16String& text)
{
    writeUnits(text.data(), text.length());
}

void XMLOutputter::write(const unsigned short* zeroTerminated)
{
    writeUnits(zeroTerminated, Utf16String::zeroTerminatedLength(zeroTerminated));
}

void XMLOutputter::writeEscaped(const Utf16String& text)
{
    const bool markers = has(entityMode);
    const unsigned short* run = text.data();
    const unsigned short* const end = text.dataEnd();
    // Plain runs go to the flow as blocks; only the special units are put one by one.
    for (const unsigned short* p = run; p != end; ++p) {
        const unsigned short unit = *p;
        const char* entity = entityOf(unit);
        const bool marker = markers && (unit == ReferenceStart || unit == ReferenceEnd);
        if (!entity && !marker)
            continue;
        writeUnits(run, static_cast<uint32_t>(p - run));
        run = p + 1;
        if (marker) {
            put(unit == ReferenceStart ? '&' : ';');
        } else {
            put('&');
            writeAscii(entity);
            put(';');
        }
    }
    writeUnits(run, static_cast<uint32_t>(end - run));
}

void XMLOutputter::writeAscii(const char* text)
{
    unsigned short units[32];
    uint32_t n = 0;
    for (; *text != 0; ++text) {
        units[n++] = static_cast<unsigned char>(*text);
        if (n == sizeof units / sizeof units[0]) {
            writeUnits(units, n);
            n = 0;
        }
    }
    writeUnits(units, n);
}

void XMLOutputter::writeName(const Utf16String* name)
{
    if (name)
        write(*name);
    else
        writeAscii("null");
}

void XMLOutputter::writeLiteral(const Utf16String& text)
{
    unsigned short quote = '"';
    for (const unsigned short* p = text.data(); p != text.dataEnd(); ++p) {
        if (*p == '"')
            quote = '\'';
    }
    put(quote);
    write(text);
    put(quote);
}

void XMLOutputter::writeElement(const Node& element)
{
    const Node* node = &element;
    for (;;) {
        if (node->getNodeType() == Node::ELEMENT_NODE) {
            writeStartTag(*node);
            if (const Node* child = node->getFirstChild()) {
                put('>');
                node = child;
                continue;
            }
            if (has(keepEndTagForm) && node->explicitEndTag() == 1) {
                put('>');
                writeEndTag(*node);
            } else {
                writeAscii(has(spaceBeforeEmptyClose) ? " />" : "/>");
            }
        } else {
            node->output(*this);
        }
        // Climb out of every element whose last child is done.
        while (node != &element && !node->getNextSibling()) {
            node = node->getParentNode();
            writeEndTag(*node);
        }
        if (node == &element)
            return;
        node = node->getNextSibling();
    }
}

void XMLOutputter::writeStartTag(const Node& element)
{
    put('<');
    write(*element.getNodeName());
    if (has(debugNames)) {
        writeAscii(" [NODE_NAME:");
        writeName(element.getNodeName());
        writeAscii(" PREFIX:");
        writeName(element.getPrefix());
        writeAscii(" LOCAL_NAME:");
        writeName(element.getLocalName());
        writeAscii(" NAMESPACE_URI:");
        writeName(element.getNamespaceURI());
        put(']');
    }
    const NamedNodeMap* attributes = element.getAttributes();
    if (attributes->isEmpty())
        return;
    const std::unique_ptr<Iterator<Node>> it(attributes->iterator());
    while (it->hasNext()) {
        put(' ');
        it->next()->output(*this);
    }
}

void XMLOutputter::writeEndTag(const Node& element)
{
    writeAscii("</");
    write(*element.getNodeName());
    put('>');
}

void XMLOutputter::writeUnits(const unsigned short* units, uint32_t count)
{
    if (count == 0)
        return;
    uint32_t written = 0;
    m_flow.writeBlock16(count, units, written);
}

} // namespace KILN
