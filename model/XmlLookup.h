#pragma once

#include "kiln/base/Element.h"
#include "kiln/base/Utf16String.h"
#include "kiln/base/Utf8String.h"

// Small lookups the model makes in its XML trees.

// A UTF-16 literal as the library's code units.
inline const unsigned short* units(const char16_t* literal)
{
    return reinterpret_cast<const unsigned short*>(literal);
}

// The first child of node that is an element, or null.
KILN::Element* firstChildElement(const KILN::Node& node);

// The value of the element's attribute of that name, or null when it has none.
const KILN::Utf16String* attributeValue(const KILN::Element& element, const char16_t* name);

// True when the element has the attribute and its value is exactly value.
bool attributeEquals(const KILN::Element& element, const char16_t* name, const char16_t* value);

// True when value, a list of tokens separated by ASCII white space (as
// "properties" and "epub:type" are), holds token.
bool hasToken(const KILN::Utf16String* value, const char16_t* token);

// True when node is an element of that namespace and local name, in a tree
// read with namespace processing (container and package document), whatever
// prefix it is written with.
bool isElementNS(const KILN::Node& node, const char16_t* namespaceURI, const char16_t* localName);

// The first child element of that namespace and local name, or null.
KILN::Element* firstChildElementNS(const KILN::Node& node, const char16_t* namespaceURI, const char16_t* localName);

// UTF-16 text as UTF-8 (no byte-order mark is read or written).
KILN::Utf8String toUtf8(const KILN::TStringPtr<unsigned short>& text);
