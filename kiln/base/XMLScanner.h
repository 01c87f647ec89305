#pragma once

#include "kiln/base/XMLParseError.h"
#include "kiln/base/XMLParserSrc.h"

#include <cstdint>

namespace KILN {

class Comment;
class Document;
class DocumentType;
class Entity;
class ProcessingInstruction;

// The lexical steps that the document grammar and the internal-subset
// grammar share: names, literals, references with their parse flags,
// comments and processing instructions, over the parser's input stack.
// Every failure raises XMLParseError.
class XMLScanner {
public:
    enum Flags : uint32_t {
        noNamespaces = 0x2,
        tolerateUndefinedEntities = 0x4,
        keepReferences = 0x100,
        markReferences = 0x200,
        expandPredefinedWhenMarking = 0x400,
        ltInAttributeValues = 0x800,
        rememberEndTagForm = 0x1000,
        attlistWithoutElement = 0x2000,
    };
    // Nested replacement texts being read at once; more is a reference loop.
    static constexpr uint32_t MaxEntityDepth = 64;
    // Units of replacement text pushed in one parse (4 MB of UTF-16): far
    // beyond the few entities a book declares, far below exhausting memory,
    // and reached in moments by a reference loop.
    static constexpr uint64_t MaxExpandedUnits = 2'000'000;

    XMLScanner(XMLParserSrc& src, Document* document, uint32_t flags);

    XMLParserSrc& src() { return m_src; }
    Document* document() const { return m_document; }
    DocumentType* doctype() const;
    bool hasFlag(uint32_t flag) const { return (m_flags & flag) != 0; }

    [[noreturn]] static void fail(int32_t code) { throw XMLParseError(code); }
    // Consumes the literal or raises code.
    void expect(const char* literal, int32_t code);
    // Consumes the literal when it is next.
    bool accept(const char* literal);
    bool atSpace() const;
    // Consumes a whitespace run; false when there was none.
    bool skipSpace();
    void requireSpace() { if (!skipSpace()) fail(XMLParseError::SPACE); }
    // Reads a Name into out (emptied first); false when none starts here.
    bool readName(Utf16String& out);
    void requireName(Utf16String& out) { if (!readName(out)) fail(XMLParseError::NAME); }
    // Consumes the opening quote or apostrophe of a literal and answers it;
    // raises code when neither is next.
    int openQuote(int32_t code);
    // Reads an Nmtoken into out (emptied first) or raises 102.
    void requireNmtoken(Utf16String& out);

    // A quoted SystemLiteral / PubidLiteral into out (emptied first).
    void readSystemLiteral(Utf16String& out);
    void readPubidLiteral(Utf16String& out);
    // A quoted attribute value into out (emptied first); references are
    // handled as the flags say.
    void readAttValue(Utf16String& out);
    // After '&': a character or entity reference, appended to out as the
    // flags say, or an entity's replacement text pushed to be read next.
    void readReference(Utf16String& out);
    // After "<?" / "<!--": a new node, not yet linked.
    ProcessingInstruction* readPI();
    Comment* readComment();

    // The entity whose value is being read: a reference to it is recursive.
    void setEntityBeingDeclared(const Entity* entity) { m_declaring = entity; }

private:
    void readCharReference(Utf16String& out);
    void readEntityReference(Utf16String& out);
    void pushReplacementText(const Entity& entity);

    XMLParserSrc& m_src;
    Document* m_document;
    uint32_t m_flags;
    const Entity* m_declaring = nullptr;
    uint64_t m_expandedUnits = 0;
};

} // namespace KILN
