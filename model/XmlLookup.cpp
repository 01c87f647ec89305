#include "model/XmlLookup.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/StringConversion.h"

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

KILN::Utf8String toUtf8(const KILN::TStringPtr<unsigned short>& text)
{
    KILN::Utf8String utf8;
    KILN::convertEncoding(text, KILN::EncodingRegistry::Utf16N, KILN::EncodingRegistry::Utf8N, utf8);
    return utf8;
}
