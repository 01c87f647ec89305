#include "model/XmlLookup.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/StringConversion.h"

#include <string_view>

using KILN::Element;
using KILN::Node;

Element* firstChildElement(const Node& node)
{
    for (Node* child = node.getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() == Node::ELEMENT_NODE)
            return static_cast<Element*>(child);
    }
    return nullptr;
}

const KILN::Utf16String* attributeValue(const Element& element, const char16_t* name)
{
    const Node* attribute = element.getAttributes()->getNamedItem(KILN::Utf16String(units(name)));
    return attribute ? attribute->getNodeValue() : nullptr;
}

bool attributeEquals(const Element& element, const char16_t* name, const char16_t* value)
{
    const KILN::Utf16String* found = attributeValue(element, name);
    return found && *found == units(value);
}

bool hasToken(const KILN::Utf16String* value, const char16_t* token)
{
    if (!value)
        return false;
    const std::u16string_view text(reinterpret_cast<const char16_t*>(value->data()), value->length());
    const std::u16string_view wanted(token);
    const auto space = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; };
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && space(text[at]))
            ++at;
        size_t end = at;
        while (end < text.size() && !space(text[end]))
            ++end;
        if (end > at && text.substr(at, end - at) == wanted)
            return true;
        at = end;
    }
    return false;
}

bool isElementNS(const Node& node, const char16_t* namespaceURI, const char16_t* localName)
{
    if (node.getNodeType() != Node::ELEMENT_NODE)
        return false;
    const KILN::Utf16String* uri = node.getNamespaceURI();
    const KILN::Utf16String* local = node.getLocalName();
    return uri && local && *uri == units(namespaceURI) && *local == units(localName);
}

Element* firstChildElementNS(const Node& node, const char16_t* namespaceURI, const char16_t* localName)
{
    for (Node* child = node.getFirstChild(); child; child = child->getNextSibling()) {
        if (isElementNS(*child, namespaceURI, localName))
            return static_cast<Element*>(child);
    }
    return nullptr;
}

KILN::Utf8String toUtf8(const KILN::TStringPtr<unsigned short>& text)
{
    KILN::Utf8String utf8;
    KILN::convertEncoding(text, KILN::EncodingRegistry::Utf16N, KILN::EncodingRegistry::Utf8N, utf8);
    return utf8;
}
