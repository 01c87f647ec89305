#pragma once

#include "kiln/base/Element.h"
#include "kiln/base/Utf16String.h"

#include <string>
#include <unordered_map>
#include <vector>

// The namespace declarations in scope while a tree read without namespace
// processing (content and navigation documents) is walked: each element is
// entered before its children and left after them, and names written with a
// prefix are resolved against the "xmlns" attributes of the open elements.
class NamespaceScope {
public:
    // Opens the declarations of element's ancestors, outermost first.
    explicit NamespaceScope(const KILN::Element& element);
    NamespaceScope(const NamespaceScope&) = delete;
    NamespaceScope& operator=(const NamespaceScope&) = delete;

    void enter(const KILN::Element& element);
    // Closes what the matching enter opened.
    void leave();

    // The namespace bound to prefix (empty for the default one), or null.
    const KILN::Utf16String* uriOf(std::u16string_view prefix) const;
    // The namespace of the element's name, or null when it has none.
    const KILN::Utf16String* namespaceOf(const KILN::Element& element) const;
    // True for an element of XHTML, or in no namespace at all (HTML without
    // declaration); false for SVG, MathML and every other vocabulary.
    bool isXhtml(const KILN::Element& element) const;
    // True when the element has an attribute whose prefix is bound to
    // namespaceURI, of that local name and whose value lists token.
    bool hasTokenNS(const KILN::Element& element, const char16_t* namespaceURI, const char16_t* localName,
                    const char16_t* token) const;

private:
    using Bindings = std::vector<const KILN::Utf16String*>;

    std::unordered_map<std::u16string, Bindings> m_bindings;
    // Those of the default namespace, which most names use: looked up once.
    Bindings* m_defaultBindings;
    // Per open element, the prefixes it declared.
    std::vector<std::vector<std::u16string>> m_declared;
    // A declaration in scope whose URI is XHTML's, or null.
    mutable const KILN::Utf16String* m_knownXhtml = nullptr;
};

// The part of a qualified name before its ':' (empty when none) and after it.
std::u16string_view prefixOf(const KILN::Utf16String& name);
std::u16string_view localNameOf(const KILN::Utf16String& name);

// True when the element's name, whatever its prefix, has that local part.
// Asked of every element of a body in several walks: most names differ in
// length or in their last units, and are told apart without looking for the
// colon.
inline bool hasLocalName(const KILN::Element& element, std::u16string_view localName)
{
    const KILN::Utf16String& written = *element.getNodeName();
    const std::u16string_view name(reinterpret_cast<const char16_t*>(written.data()), written.length());
    if (name.size() == localName.size())
        return name == localName;
    if (name.size() < localName.size() + 2 || !name.ends_with(localName))
        return false;
    const std::u16string_view prefix = name.substr(0, name.size() - localName.size() - 1);
    return name[prefix.size()] == u':' && prefix.find(u':') == std::u16string_view::npos;
}

// The same for a literal, whose length is then known when compiling.
template <size_t N>
bool hasLocalName(const KILN::Element& element, const char16_t (&localName)[N])
{
    return hasLocalName(element, std::u16string_view(localName, N - 1));
}

// The first child element of parent that is XHTML (see isXhtml) and has
// that local name, or null: "body" and "h:body" alike.
KILN::Element* firstXhtmlChild(const KILN::Element& parent, std::u16string_view localName);

extern const char16_t* const XhtmlNamespace;
