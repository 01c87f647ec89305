// rebuildPageList: the entries of the navigation document's page list, made
// anew from the page breaks collected over the spine. The nav and its list
// element stay, with their attributes and whatever else the nav holds (a
// heading), so that a hidden list stays hidden.

#include "model/PageBreaks.h"

#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/StringConversion.h"
#include "kiln/base/Text.h"
#include "kiln/base/XNodeList.h"
#include "model/EpubType.h"
#include "model/RootElement.h"

#include <memory>

using KILN::Element;
using KILN::Node;
using KILN::Utf16String;

namespace {

// The last nav below body whose attribute "epub:type" (as read) is
// "page-list", or null.
Node* oldPageList(const Element& body)
{
    const Utf16String type("epub:type");
    const Utf16String pageList("page-list");
    const std::unique_ptr<KILN::XNodeList> navs(body.getElementsByTagName(Utf16String("nav")));
    Node* found = nullptr;
    for (uint32_t i = 0; i < navs->count(); ++i) {
        Node* nav = navs->atIndex(i);
        const Node* attribute = nav->getAttributes()->getNamedItem(type);
        if (attribute && *attribute->getNodeValue() == pageList)
            found = nav;
    }
    return found;
}

Utf16String fromUtf8(const KILN::Utf8String& text)
{
    Utf16String decoded;
    KILN::convertEncoding(text, KILN::EncodingRegistry::Utf8N, KILN::EncodingRegistry::Utf16N, decoded);
    return decoded;
}

Element* appendElement(KILN::Document& document, Node& parent, const char* name)
{
    Element* element = new Element(&document, Utf16String(name));
    parent.appendChild(element);
    return element;
}

// The list of the page list nav: its first ol child, emptied, or a new ol
// appended to it.
Element* emptiedList(KILN::Document& document, Element& nav)
{
    Element* list = nav.getFirstChildElement(Utf16String("ol"));
    if (!list)
        return appendElement(document, nav, "ol");
    while (Node* child = list->getFirstChild())
        delete list->removeChild(child);
    return list;
}

} // namespace

bool rebuildPageList(KILN::Document& navigation, const std::vector<TocItem>& items)
{
    Element* root = rootElement(navigation);
    Element* body = root ? root->getFirstChildElement(Utf16String("body")) : nullptr;
    if (!body)
        return false;
    auto* nav = static_cast<Element*>(oldPageList(*body));
    if (!nav) {
        nav = appendElement(navigation, *body, "nav");
        setEpubType(navigation, *nav, "page-list");
    }
    Element* list = emptiedList(navigation, *nav);
    const Utf16String href("href");
    for (const TocItem& item : items) {
        Element* link = appendElement(navigation, *appendElement(navigation, *list, "li"), "a");
        const Utf16String target = fromUtf8(item.href);
        link->setAttribute(href, &target);
        const Utf16String label = fromUtf8(item.label);
        link->appendChild(new KILN::Text(&navigation, &label));
    }
    return true;
}
