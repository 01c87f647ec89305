#pragma once

#include "kiln/base/Element.h"
#include "kiln/base/Node.h"

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

// Whether the element's text is code ("script", "style"), which the text
// conversions leave alone.
inline bool isCodeElement(const KILN::Element& element)
{
    static const KILN::Utf16String script("script");
    static const KILN::Utf16String style("style");
    const KILN::Utf16String& name = *element.getNodeName();
    return name == script || name == style;
}

// Calls visit for every text node below root outside code elements, in
// document order; visit may replace the node as walkBelow allows.
template <class Visit>
void forEachText(KILN::Element& root, Visit visit)
{
    walkBelow(
        root, [](KILN::Element& element) { return isCodeElement(element) ? Descend::No : Descend::Yes; },
        [&](KILN::Node& node) {
            if (node.getNodeType() == KILN::Node::TEXT_NODE)
                visit(node);
        });
}
