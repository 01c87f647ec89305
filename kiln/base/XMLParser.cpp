#include "kiln/base/XMLParser.h"

#include "kiln/base/Attr.h"
#include "kiln/base/CDATASection.h"
#include "kiln/base/Comment.h"
#include "kiln/base/Document.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/DtdParser.h"
#include "kiln/base/Element.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/ProcessingInstruction.h"
#include "kiln/base/Text.h"
#include "kiln/base/XMLCharCheck.h"
#include "kiln/base/XMLCharClass.h"
#include "kiln/base/XMLDecl.h"

#include <memory>

// The parser reads the prolog, then the root element and its content, then
// trailing comments, processing instructions and whitespace; anything after
// that is ignored. Element content is a loop over an explicit chain of open
// elements (each element's parent), so only the depth limit bounds nesting.

namespace KILN {

namespace {

const char* const XmlNamespace = "http://www.w3.org/XML/1998/namespace";
const char* const XmlnsNamespace = "http://www.w3.org/2000/xmlns/";

bool isVersionChar(int unit)
{
    return (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z') || (unit >= '0' && unit <= '9') || unit == '_'
        || unit == '.' || unit == ':' || unit == '-';
}

bool isEncodingStart(int unit)
{
    return (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z');
}

bool isEncodingChar(int unit)
{
    return isEncodingStart(unit) || (unit >= '0' && unit <= '9') || unit == '.' || unit == '_' || unit == '-';
}

// The length of the prefix of a qualified name (the units before its first
// ':'), or -1 when it has none.
int32_t prefixLength(const Utf16String& name)
{
    for (uint32_t i = 0; i < name.length(); ++i) {
        if (name[i] == ':')
            return static_cast<int32_t>(i);
    }
    return -1;
}

Utf16String ascii(const char* text)
{
    Utf16String out;
    while (*text)
        out.append(static_cast<unsigned short>(*text++));
    return out;
}

} // namespace

XMLParser::XMLParser(XMLParserSrc& src, DOMImplementation* implementation, uint32_t flags)
    : XMLScanner(src, new Document(implementation), flags), m_result(document())
{
    Document* doc = document();
    m_emptyPrefix = doc->prefixes().internAscii("");
    m_xmlnsPrefix = doc->prefixes().internAscii("xmlns");
    m_xmlnsURI = doc->namespaceURIs().internAscii(XmlnsNamespace);
    m_xmlnsName = doc->names().internAscii("xmlns");
    pushBinding(doc->prefixes().internAscii("xml"), doc->namespaceURIs().internAscii(XmlNamespace), nullptr);
    pushBinding(m_xmlnsPrefix, m_xmlnsURI, nullptr);
}

XMLParser::~XMLParser()
{
    while (NamespaceUnit* binding = m_bindings.removeFirst())
        delete binding;
    delete m_result;
}

Document* XMLParser::parse()
{
    if (const XMLParserSrcUnit* text = src().front())
        checkXmlCharacters(text->cursor, static_cast<uint32_t>(text->end - text->cursor));
    Document* doc = document();
    if (src().match("<?xml") && XMLCharClass::isSpace(static_cast<unsigned short>(src().peek(5))))
        parseXMLDecl();
    parseMisc(doc);
    if (src().match("<!DOCTYPE")) {
        parseDoctype();
        parseMisc(doc);
    }
    if (src().peek() != '<')
        fail(XMLParseError::TOP_ELEMENT);
    src().consume();
    if (Element* root = parseStartTag(doc))
        parseContent(root);
    parseMisc(doc);
    m_result = nullptr;
    return doc;
}

void XMLParser::parseXMLDecl()
{
    src().consume(5);
    requireSpace();
    if (!accept("version"))
        fail(XMLParseError::VERSION_MISSING);
    parseXMLDeclValue("version", XMLParseError::VERSION_SYNTAX, XMLParseError::VERSION_END_OF_INPUT,
                      XMLParseError::VERSION_NUMBER, XMLParseError::VERSION_APOSTROPHE, XMLParseError::VERSION_QUOTE, true);
    bool spaced = skipSpace();
    if (accept("encoding")) {
        parseXMLDeclValue("encoding", XMLParseError::ENCODING_SYNTAX, XMLParseError::ENCODING_END_OF_INPUT,
                          XMLParseError::ENCODING_NAME, XMLParseError::ENCODING_APOSTROPHE, XMLParseError::ENCODING_QUOTE,
                          false);
        spaced = skipSpace();
    }
    if (spaced && accept("standalone"))
        parseStandalone();
    skipSpace();
    expect("?>", XMLParseError::DECL_CLOSE);
}

void XMLParser::parseEq()
{
    skipSpace();
    expect("=", XMLParseError::EQUALS);
    skipSpace();
}

void XMLParser::parseXMLDeclValue(const char* name, int32_t noQuote, int32_t endOfInput, int32_t badFirst,
                                  int32_t noApostrophe, int32_t noQuoteClose, bool isVersion)
{
    parseEq();
    const int quote = openQuote(noQuote);
    const int first = src().peek();
    if (first < 0)
        fail(endOfInput);
    if (isVersion ? !isVersionChar(first) : !isEncodingStart(first))
        fail(badFirst);
    Utf16String value;
    for (int unit; (unit = src().peek()) >= 0 && (isVersion ? isVersionChar(unit) : isEncodingChar(unit));) {
        value.append(static_cast<unsigned short>(unit));
        src().consume();
    }
    if (src().peek() != quote)
        fail(quote == '\'' ? noApostrophe : noQuoteClose);
    src().consume();
    Attr* attribute = new Attr(document(), ascii(name));
    attribute->setNodeValue(value);
    delete document()->getXMLDecl()->getAttributes()->setNamedItem(attribute);
}

void XMLParser::parseStandalone()
{
    parseEq();
    const int quote = openQuote(XMLParseError::STANDALONE_SYNTAX);
    const char* value = accept("yes") ? "yes" : accept("no") ? "no" : nullptr;
    if (!value)
        fail(quote == '\'' ? XMLParseError::STANDALONE_APOSTROPHE_VALUE : XMLParseError::STANDALONE_QUOTE_VALUE);
    if (src().peek() != quote)
        fail(quote == '\'' ? XMLParseError::STANDALONE_APOSTROPHE : XMLParseError::STANDALONE_QUOTE);
    src().consume();
    Attr* attribute = new Attr(document(), ascii("standalone"));
    attribute->setNodeValue(ascii(value));
    delete document()->getXMLDecl()->getAttributes()->setNamedItem(attribute);
}

void XMLParser::parseMisc(Node* parent)
{
    for (;;) {
        if (accept("<!--")) {
            parent->appendChild(readComment());
        } else if (accept("<?")) {
            parent->appendChild(readPI());
        } else if (atSpace()) {
            Utf16String space;
            src().copyUntil(space, [](unsigned short unit) { return !XMLCharClass::isSpace(unit); });
            parent->appendChild(new Text(document(), &space));
        } else {
            return;
        }
    }
}

void XMLParser::parseDoctype()
{
    src().consume(9);
    DocumentType* type = doctype();
    document()->appendChild(type);
    requireSpace();
    Utf16String text;
    requireName(text);
    type->setName(text);
    if (skipSpace()) {
        if (accept("SYSTEM")) {
            requireSpace();
            readSystemLiteral(text);
            type->setSystemId(&text);
        } else if (accept("PUBLIC")) {
            requireSpace();
            readPubidLiteral(text);
            type->setPublicId(&text);
            requireSpace();
            readSystemLiteral(text);
            type->setSystemId(&text);
        }
    }
    skipSpace();
    if (accept("[")) {
        DtdParser(*this).parseInternalSubset();
        expect("]", XMLParseError::SUBSET_END);
        skipSpace();
    }
    expect(">", XMLParseError::DOCTYPE_END);
}

Element* XMLParser::parseStartTag(Node* parent)
{
    requireName(m_name);
    Element* element = new Element(document(), m_name);
    parent->appendChild(element);
    for (;;) {
        skipSpace();
        if (accept(">")) {
            resolveNamespaces(element, XMLParseError::ELEMENT_PREFIX);
            return element;
        }
        if (accept("/>")) {
            resolveNamespaces(element, XMLParseError::EMPTY_ELEMENT_PREFIX);
            popBindings(element);
            return nullptr;
        }
        parseAttribute(element);
    }
}

void XMLParser::parseAttribute(Element* element)
{
    Utf16String& name = m_name;
    requireName(name);
    if (element->getAttributes()->getNamedItem(name))
        fail(XMLParseError::DUPLICATE_ATTRIBUTE);
    parseEq();
    Utf16String& value = m_value;
    readAttValue(value);
    if (hasFlag(noNamespaces)) {
        element->setAttribute(name, &value);
        return;
    }
    const int32_t colon = prefixLength(name);
    const bool isDefault = colon < 0 && document()->names().lookup(name) == m_xmlnsName;
    const bool isPrefixed = colon == 5 && name.length() > 6 && document()->prefixes().lookup(name.data(), 5) == m_xmlnsPrefix;
    if (!isDefault && !isPrefixed) {
        element->setAttribute(name, &value);
        return;
    }
    Document* doc = document();
    const Utf16String* prefix = isDefault ? m_emptyPrefix : doc->prefixes().intern(name.data() + 6, name.length() - 6);
    pushBinding(prefix, doc->namespaceURIs().intern(value), element);
    // What setAttributeNS would store, without its scan of the map for the
    // same local name and namespace: the duplicate check above refused this
    // name, and until the tag ends only declarations carry the xmlns
    // namespace, so no attribute can match. The scan made a start tag with
    // many declarations cost quadratic time.
    Attr* attribute = new Attr(doc, name, &value);
    attribute->setNamespace(m_xmlnsURI, isDefault ? m_emptyPrefix : m_xmlnsPrefix,
                            isDefault ? m_xmlnsName : doc->names().intern(name.data() + 6, name.length() - 6));
    element->getAttributes()->setNamedItem(attribute);
}

void XMLParser::resolveNamespaces(Element* element, int32_t code)
{
    if (hasFlag(noNamespaces))
        return;
    Document* doc = document();
    std::unique_ptr<Iterator<Node>> it(element->getAttributes()->iterator());
    while (it->hasNext()) {
        Node* attribute = it->next();
        const Utf16String& name = *attribute->getNodeName();
        if (attribute->getNamespaceURI() || &name == m_xmlnsName)
            continue;
        const int32_t colon = prefixLength(name);
        if (colon < 0) {
            if (const Utf16String* uri = defaultURI())
                attribute->setNamespace(uri, m_emptyPrefix, doc->names().intern(name));
            continue;
        }
        const Utf16String* prefix = doc->prefixes().intern(name.data(), static_cast<uint32_t>(colon));
        if (prefix == m_xmlnsPrefix)
            continue;
        const Utf16String* uri = boundURI(prefix);
        if (!uri)
            fail(XMLParseError::ATTRIBUTE_PREFIX);
        attribute->setNamespace(uri, prefix, doc->names().intern(name.data() + colon + 1, name.length() - colon - 1));
    }
    // The element last, now that its own declarations are in scope.
    const Utf16String& name = *element->getNodeName();
    const int32_t colon = prefixLength(name);
    if (colon < 0) {
        if (const Utf16String* uri = defaultURI())
            element->setNamespace(uri, m_emptyPrefix, doc->names().intern(name));
        return;
    }
    const Utf16String* prefix = doc->prefixes().intern(name.data(), static_cast<uint32_t>(colon));
    const Utf16String* uri = boundURI(prefix);
    if (!uri)
        fail(code);
    element->setNamespace(uri, prefix, doc->names().intern(name.data() + colon + 1, name.length() - colon - 1));
}

void XMLParser::parseContent(Element* root)
{
    Element* element = root;
    uint32_t depth = 1;
    // Character data and references gather in m_characters until other
    // markup comes; the text node is then made once, with a value of its
    // exact size, instead of growing piece by piece.
    bool inText = false;
    while (element) {
        const int next = src().peek();
        if (m_sourceMap && !inText && next != '<')
            m_textStart = src().position();
        if (next != '<' && next != '&') {
            inText = true;
            if (src().copyUntil(m_characters, [](unsigned short unit) { return unit == '<' || unit == '&'; }) == 0)
                fail(XMLParseError::END_OF_SOURCE);
            continue;
        }
        if (next == '&') {
            src().consume();
            inText = true;
            readReference(m_characters);
            continue;
        }
        if (inText) {
            Text* text = new Text(document(), &m_characters);
            element->appendChild(text);
            if (m_sourceMap)
                m_sourceMap->addText(text, m_textStart);
            m_characters.clear();
            inText = false;
        }
        if (src().match("</")) {
            const XMLSourcePosition at = m_sourceMap ? src().position() : XMLSourcePosition{};
            src().consume(2);
            parseEndTag(element);
            // Accepted as it stands; a check of the book still wants to know.
            if (m_sourceMap && !(m_name == *element->getNodeName()))
                m_sourceMap->addMismatch(XMLSourceMap::Mismatch{at, *element->getNodeName(), m_name});
            Element* finished = element;
            element = finished == root ? nullptr : static_cast<Element*>(finished->getParentNode());
            --depth;
        } else if (accept("<![CDATA[")) {
            Utf16String data;
            while (!src().match("]]>")) {
                if (src().atEnd())
                    fail(XMLParseError::CDATA_END);
                src().copyUntil(data, [](unsigned short unit) { return unit == ']'; });
                if (!src().match("]]>") && !src().atEnd()) {
                    data.append(']');
                    src().consume();
                }
            }
            src().consume(3);
            element->appendChild(new CDATASection(document(), data));
        } else if (accept("<?")) {
            element->appendChild(readPI());
        } else if (accept("<!--")) {
            element->appendChild(readComment());
        } else {
            src().consume();
            if (depth >= MaxElementDepth)
                fail(XMLParseError::ELEMENT_DEPTH);
            if (Element* child = parseStartTag(element)) {
                element = child;
                ++depth;
            }
        }
    }
}

void XMLParser::parseEndTag(Element* element)
{
    requireName(m_name);
    skipSpace();
    expect(">", XMLParseError::END_TAG_CLOSE);
    if (hasFlag(rememberEndTagForm) && !element->hasChildNodes())
        element->setExplicitEndTag(1);
    popBindings(element);
}

void XMLParser::pushBinding(const Utf16String* prefix, const Utf16String* uri, Element* element)
{
    const NamespaceUnit* below = m_bindings.first();
    const uint8_t inScope = prefix == m_emptyPrefix || (below && below->defaultInScope) ? 1 : 0;
    const NamespaceUnit*& newest = m_newestBinding[prefix];
    NamespaceUnit* binding = new NamespaceUnit{prefix, uri, element, inScope, newest};
    m_bindings.prepend(binding);
    newest = binding;
}

void XMLParser::popBindings(Element* element)
{
    while (m_bindings.first() && m_bindings.first()->element == element) {
        NamespaceUnit* binding = m_bindings.removeFirst();
        if (binding->shadowed)
            m_newestBinding[binding->prefix] = binding->shadowed;
        else
            m_newestBinding.erase(binding->prefix);
        delete binding;
    }
}

const Utf16String* XMLParser::boundURI(const Utf16String* prefix) const
{
    const auto found = m_newestBinding.find(prefix);
    return found == m_newestBinding.end() ? nullptr : found->second->uri;
}

const Utf16String* XMLParser::defaultURI() const
{
    const NamespaceUnit* newest = m_bindings.first();
    if (!newest || !newest->defaultInScope)
        return nullptr;
    const Utf16String* uri = boundURI(m_emptyPrefix);
    // xmlns="" takes the default namespace away again.
    return uri && !uri->isEmpty() ? uri : nullptr;
}

} // namespace KILN
