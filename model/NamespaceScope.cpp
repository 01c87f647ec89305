#include "model/NamespaceScope.h"

#include "kiln/base/Iterator.h"
#include "kiln/base/NamedNodeMap.h"
#include "model/XmlLookup.h"

#include <memory>

using KILN::Element;
using KILN::Node;
using KILN::Utf16String;

const char16_t* const XhtmlNamespace = u"http://www.w3.org/1999/xhtml";

namespace {

// The same with its length, for the comparison made at every element.
constexpr std::u16string_view XhtmlNamespaceView = u"http://www.w3.org/1999/xhtml";

std::u16string_view view(const Utf16String& text)
{
    return {reinterpret_cast<const char16_t*>(text.data()), text.length()};
}

} // namespace

std::u16string_view prefixOf(const Utf16String& name)
{
    const std::u16string_view text = view(name);
    const size_t colon = text.find(u':');
    return colon == std::u16string_view::npos ? std::u16string_view() : text.substr(0, colon);
}

std::u16string_view localNameOf(const Utf16String& name)
{
    const std::u16string_view text = view(name);
    const size_t colon = text.find(u':');
    return colon == std::u16string_view::npos ? text : text.substr(colon + 1);
}

Element* firstXhtmlChild(const Element& parent, std::u16string_view localName)
{
    NamespaceScope scope(parent);
    for (Node* child = parent.getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() != Node::ELEMENT_NODE)
            continue;
        auto& element = static_cast<Element&>(*child);
        if (!hasLocalName(element, localName))
            continue;
        scope.enter(element);
        const bool xhtml = scope.isXhtml(element);
        scope.leave();
        if (xhtml)
            return &element;
    }
    return nullptr;
}

NamespaceScope::NamespaceScope(const Element& element) : m_defaultBindings(&m_bindings[std::u16string()])
{
    std::vector<const Element*> ancestors;
    for (const Node* node = &element; node && node->getNodeType() == Node::ELEMENT_NODE; node = node->getParentNode())
        ancestors.push_back(static_cast<const Element*>(node));
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        enter(**it);
}

void NamespaceScope::enter(const Element& element)
{
    std::vector<std::u16string>& declared = m_declared.emplace_back();
    const KILN::NamedNodeMap& attributes = *element.getAttributes();
    if (attributes.isEmpty())
        return;
    const std::unique_ptr<KILN::Iterator<Node>> it(attributes.iterator());
    while (Node* attribute = it->next()) {
        const std::u16string_view name = view(*attribute->getNodeName());
        std::u16string prefix;
        if (name == u"xmlns")
            prefix.clear();
        else if (name.starts_with(u"xmlns:"))
            prefix = name.substr(6);
        else
            continue;
        m_bindings[prefix].push_back(attribute->getNodeValue());
        declared.push_back(std::move(prefix));
    }
}

void NamespaceScope::leave()
{
    // The declaration known to be XHTML may be one that goes out of scope.
    if (!m_declared.back().empty())
        m_knownXhtml = nullptr;
    for (const std::u16string& prefix : m_declared.back())
        m_bindings[prefix].pop_back();
    m_declared.pop_back();
}

const Utf16String* NamespaceScope::uriOf(std::u16string_view prefix) const
{
    const Bindings* bindings = m_defaultBindings;
    if (!prefix.empty()) {
        const auto found = m_bindings.find(std::u16string(prefix));
        bindings = found == m_bindings.end() ? nullptr : &found->second;
    }
    if (!bindings || bindings->empty())
        return nullptr;
    // An empty default declaration ("xmlns=''") takes the default away.
    const Utf16String* uri = bindings->back();
    return uri && uri->length() > 0 ? uri : nullptr;
}

const Utf16String* NamespaceScope::namespaceOf(const Element& element) const
{
    return uriOf(prefixOf(*element.getNodeName()));
}

bool NamespaceScope::isXhtml(const Element& element) const
{
    const std::u16string_view prefix = prefixOf(*element.getNodeName());
    const Utf16String* uri = uriOf(prefix);
    if (!uri)
        return prefix.empty();
    // Nearly every element is in the one namespace declared at the root:
    // its URI is compared once, not at every element.
    if (uri == m_knownXhtml)
        return true;
    if (view(*uri) != XhtmlNamespaceView)
        return false;
    m_knownXhtml = uri;
    return true;
}

bool NamespaceScope::hasTokenNS(const Element& element, const char16_t* namespaceURI, const char16_t* localName,
                                const char16_t* token) const
{
    const KILN::NamedNodeMap& attributes = *element.getAttributes();
    if (attributes.isEmpty())
        return false;
    const std::unique_ptr<KILN::Iterator<Node>> it(attributes.iterator());
    while (Node* attribute = it->next()) {
        const Utf16String& name = *attribute->getNodeName();
        const std::u16string_view prefix = prefixOf(name);
        // An attribute without prefix is in no namespace.
        if (prefix.empty() || localNameOf(name) != localName)
            continue;
        const Utf16String* uri = uriOf(prefix);
        if (uri && view(*uri) == namespaceURI && hasToken(attribute->getNodeValue(), token))
            return true;
    }
    return false;
}
