#pragma once

#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/Node.h"

#include "XmlTestSupport.h"

#include <memory>

// A compact text form of a subtree for table-driven tests: elements as
// name(attr=value ...){children}, text in quotes, comments as <!--...-->,
// processing instructions as <?target data?> and CDATA as [[...]].
namespace XmlTest {

inline std::u16string dump(const KILN::Node* node)
{
    using KILN::Node;
    std::u16string out;
    switch (node->getNodeType()) {
    case Node::TEXT_NODE:
    case Node::CDATA_SECTION_NODE:
        if (S(node->getNodeName()) == u"#cdata-section")
            return u"[[" + S(node->getNodeValue()) + u"]]";
        return u"'" + S(node->getNodeValue()) + u"'";
    case Node::COMMENT_NODE:
        return u"<!--" + S(node->getNodeValue()) + u"-->";
    case Node::PROCESSING_INSTRUCTION_NODE:
        return u"<?" + S(node->getNodeName()) + u" " + S(node->getNodeValue()) + u"?>";
    default:
        break;
    }
    out = S(node->getNodeName());
    if (!node->getAttributes()->isEmpty()) {
        out += u"(";
        std::unique_ptr<KILN::Iterator<Node>> it(node->getAttributes()->iterator());
        bool first = true;
        while (it->hasNext()) {
            const Node* attribute = it->next();
            out += (first ? u"" : u" ") + S(attribute->getNodeName()) + u"=" + S(attribute->getNodeValue());
            first = false;
        }
        out += u")";
    }
    if (node->hasChildNodes()) {
        out += u"{";
        for (const Node* child = node->getFirstChild(); child; child = child->getNextSibling())
            out += dump(child) + (child->getNextSibling() ? u" " : u"");
        out += u"}";
    }
    return out;
}

// The document's element child (the root element), or null.
inline KILN::Node* rootElement(const KILN::Document* document)
{
    KILN::Node* root = nullptr;
    for (KILN::Node* child = document->getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() == KILN::Node::ELEMENT_NODE)
            root = child;
    }
    return root;
}

// The dump of the root element.
inline std::u16string dumpRoot(const KILN::Document* document)
{
    const KILN::Node* root = rootElement(document);
    return root ? dump(root) : u"(no root)";
}

} // namespace XmlTest
