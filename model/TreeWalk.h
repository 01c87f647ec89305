#pragma once

#include "kiln/base/Element.h"
#include "kiln/base/Node.h"
#include "model/NamespaceScope.h"

#include <type_traits>
#include <vector>

// Walks over the subtree below an element in document order, without
// recursion, so that a deeply nested document cannot exhaust the stack.

enum class Descend { Yes, No };

// Calls onElement for every element below root (it answers whether to walk
// into that element's children) and onOther for every other node. A node's
// next sibling is taken before onOther sees the node, so onOther may insert
// nodes after it and remove it: the inserted nodes are not visited.
template <class OnElement, class OnOther>
void walkBelow(KILN::Element& root, OnElement onElement, OnOther onOther)
{
    KILN::Node* parent = &root;
    KILN::Node* node = root.getFirstChild();
    while (true) {
        while (!node) {
            if (parent == &root)
                return;
            node = parent->getNextSibling();
            parent = parent->getParentNode();
        }
        KILN::Node* const next = node->getNextSibling();
        if (node->getNodeType() == KILN::Node::ELEMENT_NODE) {
            if (onElement(static_cast<KILN::Element&>(*node)) == Descend::Yes && node->hasChildNodes()) {
                parent = node;
                node = node->getFirstChild();
                continue;
            }
        } else {
            onOther(*node);
        }
        node = next;
    }
}

// As walkBelow, for a content document read without namespace processing,
// showing only what is XHTML: onElement sees the XHTML elements, onOther the
// other children of XHTML elements. An element of another namespace (SVG,
// MathML, epub:switch) is walked into unseen, its text untouched, so that
// XHTML inside it (foreignObject, epub:default) is shown again. onElement
// may take the scope as a second argument, to resolve attribute prefixes.
// onLeave sees an XHTML element whose children were walked once they are.
// Does nothing: the default of walkXhtml's onLeave.
struct IgnoreLeave {
    void operator()(KILN::Element&) const {}
};

template <class OnElement, class OnOther, class OnLeave = IgnoreLeave>
void walkXhtml(KILN::Element& root, OnElement onElement, OnOther onOther, OnLeave onLeave = {})
{
    NamespaceScope scope(root);
    // Whether each open element, root first, is XHTML.
    std::vector<bool> xhtml{scope.isXhtml(root)};
    KILN::Node* parent = &root;
    KILN::Node* node = root.getFirstChild();
    while (true) {
        while (!node) {
            if (parent == &root)
                return;
            scope.leave();
            if (xhtml.back())
                onLeave(static_cast<KILN::Element&>(*parent));
            xhtml.pop_back();
            node = parent->getNextSibling();
            parent = parent->getParentNode();
        }
        KILN::Node* const next = node->getNextSibling();
        if (node->getNodeType() == KILN::Node::ELEMENT_NODE) {
            auto& element = static_cast<KILN::Element&>(*node);
            scope.enter(element);
            const bool inXhtml = scope.isXhtml(element);
            bool descend = true;
            if constexpr (std::is_invocable_v<OnElement, KILN::Element&, const NamespaceScope&>)
                descend = !inXhtml || onElement(element, scope) == Descend::Yes;
            else
                descend = !inXhtml || onElement(element) == Descend::Yes;
            if (descend && node->hasChildNodes()) {
                xhtml.push_back(inXhtml);
                parent = node;
                node = node->getFirstChild();
                continue;
            }
            scope.leave();
        } else if (xhtml.back()) {
            onOther(*node);
        }
        node = next;
    }
}

// Whether the element's text is code ("script", "style", with any prefix),
// which the text conversions leave alone.
inline bool isCodeElement(const KILN::Element& element)
{
    return hasLocalName(element, u"script") || hasLocalName(element, u"style");
}

// Calls visit for every text node of an XHTML element below root outside
// code elements, in document order; visit may replace the node as walkBelow
// allows.
template <class Visit>
void forEachText(KILN::Element& root, Visit visit)
{
    walkXhtml(
        root, [](KILN::Element& element) { return isCodeElement(element) ? Descend::No : Descend::Yes; },
        [&](KILN::Node& node) {
            if (node.getNodeType() == KILN::Node::TEXT_NODE)
                visit(node);
        });
}
