// rebuildPageList: the entries of the navigation document's page list, made
// anew from the page breaks collected over the spine. The nav and its list
// element stay, with their attributes and whatever else the nav holds (a
// heading), so that a hidden list stays hidden.

#include "model/PageBreaks.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/StringConversion.h"
#include "kiln/base/Text.h"
#include "model/EpubType.h"
#include "model/PrefixedNames.h"
#include "model/RootElement.h"
#include "model/TreeWalk.h"
#include "model/XmlLookup.h"

using KILN::Element;
using KILN::Node;
using KILN::Utf16String;

namespace {

// The last XHTML nav below body whose "epub:type" lists "page-list", or
// null. The attribute is found by its namespace, whatever its prefix; a
// plain "epub:type" counts too when the document does not bind "epub".
Node* oldPageList(Element& body)
{
    Node* found = nullptr;
    walkXhtml(
        body,
        [&](Element& element, const NamespaceScope& scope) {
            if (!hasLocalName(element, u"nav"))
                return Descend::Yes;
            if (scope.hasTokenNS(element, u"http://www.idpf.org/2007/ops", u"type", u"page-list")
                || (!scope.uriOf(u"epub") && hasToken(attributeValue(element, u"epub:type"), u"page-list")))
                found = &element;
            return Descend::Yes;
        },
        [](Node&) {});
    return found;
}

Utf16String fromUtf8(const KILN::Utf8String& text)
{
    Utf16String decoded;
    KILN::convertEncoding(text, KILN::EncodingRegistry::Utf8N, KILN::EncodingRegistry::Utf16N, decoded);
    return decoded;
}

// Appends to parent a new element of that local name in parent's namespace,
// written with its prefix: "h:li" in an "h:ol".
Element* appendElement(KILN::Document& document, Element& parent, std::u16string_view localName)
{
    PrefixedNames name({localName});
    name.into(parent);
    auto* element = new Element(&document, name[0]);
    parent.appendChild(element);
    return element;
}

// The list of the page list nav: its first ol child (whatever its prefix),
// emptied, or a new ol appended to it.
Element* emptiedList(KILN::Document& document, Element& nav)
{
    Element* list = nullptr;
    for (Node* child = nav.getFirstChild(); child && !list; child = child->getNextSibling()) {
        if (child->getNodeType() == Node::ELEMENT_NODE && hasLocalName(static_cast<Element&>(*child), u"ol"))
            list = static_cast<Element*>(child);
    }
    if (!list)
        return appendElement(document, nav, u"ol");
    while (Node* child = list->getFirstChild())
        delete list->removeChild(child);
    return list;
}

} // namespace

bool rebuildPageList(KILN::Document& navigation, const std::vector<TocItem>& items)
{
    Element* root = rootElement(navigation);
    Element* body = root ? firstXhtmlChild(*root, u"body") : nullptr;
    if (!body)
        return false;
    auto* nav = static_cast<Element*>(oldPageList(*body));
    if (!nav) {
        nav = appendElement(navigation, *body, u"nav");
        setEpubType(navigation, *nav, "page-list");
    }
    Element* list = emptiedList(navigation, *nav);
    const Utf16String href("href");
    for (const TocItem& item : items) {
        Element* link = appendElement(navigation, *appendElement(navigation, *list, u"li"), u"a");
        const Utf16String target = fromUtf8(item.href);
        link->setAttribute(href, &target);
        const Utf16String label = fromUtf8(item.label);
        link->appendChild(new KILN::Text(&navigation, &label));
    }
    return true;
}
