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
    if (!hasLocalName(element, u"span") || !nonEmptyId(element))
        return false;
    const Utf16String* value = attribute(element, className);
    return value && *value == pageNormal;
}

bool isSpace(unsigned short unit)
{
    return unit == ' ' || unit == '\t' || unit == '\n' || unit == '\r';
}

// True when the element's "epub:type", namespaced or as read from the file
// (the attributes are keyed by name), lists "pagebreak" among its tokens.
bool isMarkedPageBreak(const Element& element)
{
    static const Utf16String type("epub:type");
    static const Utf16String pagebreak("pagebreak");
    const Utf16String* value = attribute(element, type);
    if (!value)
        return false;
    const unsigned short* units = value->data();
    const uint32_t length = value->length();
    for (uint32_t i = 0; i < length;) {
        while (i < length && isSpace(units[i]))
            ++i;
        const uint32_t start = i;
        while (i < length && !isSpace(units[i]))
            ++i;
        if (i > start && Utf16String(units + start, i - start) == pagebreak)
            return true;
    }
    return false;
}

// The text of the element as a reader sees it: every text below it, without
// the readings of ruby (rt, rp), trimmed of white space at both ends.
Utf16String wholeText(Element& element)
{
    Utf16String text;
    walkBelow(
        element,
        [](Element& inner) {
            return hasLocalName(inner, u"rt") || hasLocalName(inner, u"rp") ? Descend::No : Descend::Yes;
        },
        [&](Node& node) {
            if (node.getNodeType() == Node::TEXT_NODE)
                text.append(*node.getNodeValue());
        });
    uint32_t begin = 0;
    uint32_t end = text.length();
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    return Utf16String(text.data() + begin, end - begin);
}

// The label of a page break: its text, else for an empty one the first of
// its "title", "aria-label" and id that is not empty.
Utf16String pageLabel(Element& element, const Utf16String& id)
{
    static const Utf16String title("title");
    static const Utf16String ariaLabel("aria-label");
    Utf16String label = wholeText(element);
    if (label.length() > 0)
        return label;
    for (const Utf16String* name : {&title, &ariaLabel}) {
        const Utf16String* value = attribute(element, *name);
        if (value && value->length() > 0)
            return *value;
    }
    return id;
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

bool isPageBreak(const KILN::Element& element)
{
    return isPageSpan(element) || isMarkedPageBreak(element);
}

void collectPageBreaks(KILN::Element& body, const KILN::Utf8String& link, std::vector<TocItem>& items)
{
    walkBelow(
        body,
        [&](Element& element) {
            // Most elements of a converted body (ruby, rb, rt, wbr) have no
            // attribute at all.
            if (element.getAttributes()->isEmpty())
                return Descend::Yes;
            const Utf16String* id = nonEmptyId(element);
            if (!id || !isMarkedPageBreak(element))
                return Descend::Yes;
            TocItem item;
            item.label = KILN::Utf8String(pageLabel(element, *id));
            item.href = link;
            item.href.append('#');
            item.href.append(KILN::Utf8String(*id));
            items.push_back(item);
            return Descend::No;
        },
        ignore);
}
