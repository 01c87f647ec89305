// Marking the publisher's page spans and collecting them for the page list.

#include "model/PageBreaks.h"

#include "kiln/base/Attr.h"
#include "model/EpubType.h"
#include "model/TreeWalk.h"

using KILN::Element;
using KILN::Node;
using KILN::Utf16String;

const char* const OpsNamespace = "http://www.idpf.org/2007/ops";

namespace {

bool isSpan(const Element& element)
{
    static const Utf16String span("span");
    return *element.getNodeName() == span;
}

// The value of the attribute of that name, or null.
const Utf16String* attribute(const Element& element, const Utf16String& name)
{
    const Node* found = element.getAttributes()->getNamedItem(name);
    return found ? found->getNodeValue() : nullptr;
}

const Utf16String* nonEmptyId(const Element& element)
{
    static const Utf16String id("id");
    const Utf16String* value = attribute(element, id);
    return value && value->length() > 0 ? value : nullptr;
}

bool isPageSpan(const Element& element)
{
    static const Utf16String className("class");
    static const Utf16String pageNormal("page-normal");
    if (!isSpan(element) || !nonEmptyId(element))
        return false;
    const Utf16String* value = attribute(element, className);
    return value && *value == pageNormal;
}

bool isMarkedPageBreak(const Element& element)
{
    static const Utf16String uri(OpsNamespace);
    static const Utf16String type("type");
    static const Utf16String pagebreak("pagebreak");
    const KILN::Attr* found = element.getAttributeNodeNS(uri, type);
    return found && *found->getNodeValue() == pagebreak;
}

// The value of the first text child (direct children only), or null.
const Utf16String* firstText(const Element& element)
{
    for (Node* child = element.getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() == Node::TEXT_NODE)
            return child->getNodeValue();
    }
    return nullptr;
}

void ignore(Node&) {}

} // namespace

void markPageBreaks(KILN::Document& document, KILN::Element& body)
{
    walkBelow(
        body,
        [&](Element& element) {
            if (!isPageSpan(element))
                return Descend::Yes;
            setEpubType(document, element, "pagebreak");
            return Descend::No;
        },
        ignore);
}

void collectPageBreaks(KILN::Element& body, const KILN::Utf8String& link, std::vector<TocItem>& items)
{
    walkBelow(
        body,
        [&](Element& element) {
            if (!isSpan(element) || !isMarkedPageBreak(element))
                return Descend::Yes;
            const Utf16String* id = nonEmptyId(element);
            const Utf16String* label = firstText(element);
            if (!id || !label || label->length() == 0)
                return Descend::Yes;
            TocItem item;
            item.label = KILN::Utf8String(*label);
            item.href = link;
            item.href.append('#');
            item.href.append(KILN::Utf8String(*id));
            items.push_back(item);
            return Descend::No;
        },
        ignore);
}
