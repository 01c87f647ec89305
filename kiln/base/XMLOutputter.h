#pragma once

#include "kiln/base/Utf16String.h"

#include <cstdint>

namespace KILN {

class Node;
class OFlow;

// Writes a document tree back as XML text in UTF-16 units on an output flow.
// Each node writes itself through its output operation, which calls back
// into the outputter; nothing is added that is not in the tree. A small value
// object placed on the stack; failures of the flow pass through.
class XMLOutputter {
public:
    enum Flag : uint32_t {
        debugNames = 0x01,              // dump an element's four names after its name
        entityMode = 0x04,              // turn the reference markers U+0001, U+0002 into '&', ';'
        spaceBeforeEmptyClose = 0x08,   // " />" instead of "/>"
        noSpaceBeforeDeclClose = 0x10,  // "?>" instead of " ?>" after the declaration
        keepEndTagForm = 0x20,          // an empty element read as start and end tag keeps that form
    };

    XMLOutputter(OFlow& flow, uint32_t flags) : m_flow(flow), m_flags(flags) {}
    virtual ~XMLOutputter() = default;

    // Writes node (such as a whole document) with flags as UTF-8 to a flow of
    // bytes, encoding the text as it is made: memory stays bounded whatever
    // the size of the text. With byteOrderMark the bytes begin with EF BB BF.
    // A lone surrogate is written as U+FFFD. Failures of the flow pass
    // through; the flow is flushed, not closed.
    static void writeUtf8(const Node& node, OFlow& bytes, uint32_t flags, bool byteOrderMark);

    virtual void put(unsigned short unit);
    virtual void write(const Utf16String& text);
    virtual void write(const unsigned short* zeroTerminated);
    // Writes the five special characters as entity references (and the
    // reference markers as '&' and ';' in entity mode).
    virtual void writeEscaped(const Utf16String& text);

    uint32_t flags() const { return m_flags; }
    bool has(Flag flag) const { return (m_flags & flag) != 0; }

    // Writes ASCII markup.
    void writeAscii(const char* text);
    // Writes a name; a missing one as "null".
    void writeName(const Utf16String* name);
    // Writes a literal between double quotes, or between apostrophes when it
    // holds a double quote (so that it reads back as written).
    void writeLiteral(const Utf16String& text);
    // Writes an element with its attributes and its subtree. Nested elements
    // are walked without recursion, so that depth cannot exhaust the stack.
    void writeElement(const Node& element);

private:
    void writeUnits(const unsigned short* units, uint32_t count);
    void writeStartTag(const Node& element);
    void writeEndTag(const Node& element);

    OFlow& m_flow;
    uint32_t m_flags;
};

} // namespace KILN
