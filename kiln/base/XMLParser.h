#pragma once

#include "kiln/base/LinkList.h"
#include "kiln/base/NamespaceUnit.h"
#include "kiln/base/XMLScanner.h"
#include "kiln/base/XMLSourceMap.h"

#include <unordered_map>

namespace KILN {

class DOMImplementation;
class Element;
class Node;

// The document grammar: prolog (XML declaration, comments, processing
// instructions, whitespace, DOCTYPE), the root element and its content, and
// namespaces, resolved at the end of each start tag so that the element's own
// declarations apply to it.
// Elements are parsed with a loop, not recursion, so nesting depth costs no
// stack; it is still bounded, because the serializer walks the tree
// recursively.
class XMLParser : public XMLScanner {
public:
    static constexpr uint32_t MaxElementDepth = 10'000;

    // The document is made here and answered by parse().
    XMLParser(XMLParserSrc& src, DOMImplementation* implementation, uint32_t flags);
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;
    ~XMLParser();

    // Parses the whole input and answers the document, which the caller then
    // owns; raises XMLParseError (the document stays the parser's).
    Document* parse();
    // Records into map (kept by the caller) where text nodes and mismatched
    // end tags stood; null, the default, records nothing.
    void recordSources(XMLSourceMap* map) { m_sourceMap = map; }

private:
    void parseXMLDecl();
    void parseXMLDeclValue(const char* name, int32_t noQuote, int32_t endOfInput, int32_t badFirst,
                           int32_t noApostrophe, int32_t noQuoteClose, bool isVersion);
    void parseStandalone();
    void parseEq();
    void parseMisc(Node* parent);
    void parseDoctype();
    // After '<': a start tag; answers the element when content follows, null
    // for an empty-element tag. With namespaces on, the element is made with
    // its plain name and given its namespace when the tag ends.
    Element* parseStartTag(Node* parent);
    void parseAttribute(Element* element);
    void parseContent(Element* root);
    void parseEndTag(Element* element);
    void resolveNamespaces(Element* element, int32_t code);

    void pushBinding(const Utf16String* prefix, const Utf16String* uri, Element* element);
    void popBindings(Element* element);
    // The URI bound to a prefix atom (the empty prefix for a default
    // declaration), or null.
    const Utf16String* boundURI(const Utf16String* prefix) const;
    // The default namespace in scope, or null.
    const Utf16String* defaultURI() const;

    Document* m_result;
    LinkList<NamespaceUnit> m_bindings;
    // The newest binding of each prefix atom, so that a lookup costs the same
    // however many declarations are in scope.
    std::unordered_map<const Utf16String*, const NamespaceUnit*> m_newestBinding;
    const Utf16String* m_emptyPrefix;
    const Utf16String* m_xmlnsPrefix;
    const Utf16String* m_xmlnsURI;
    const Utf16String* m_xmlnsName;
    // Buffers reused by every tag, so that reading names costs no allocation.
    Utf16String m_name;
    Utf16String m_value;
    // The character data of the text node being read.
    Utf16String m_characters;
    XMLSourceMap* m_sourceMap = nullptr;
    XMLSourcePosition m_textStart;
};

} // namespace KILN
