// cleanHead: the publisher leaves empty meta elements in the head.

#include "kiln/base/Element.h"
#include "model/PostProcess.h"
#include "model/RootElement.h"

using KILN::Node;

void cleanHead(KILN::Document& document)
{
    KILN::Element* root = rootElement(document);
    KILN::Element* head = root ? root->getFirstChildElement(KILN::Utf16String("head")) : nullptr;
    if (!head)
        return;
    const KILN::Utf16String meta("meta");
    Node* child = head->getFirstChild();
    while (child) {
        Node* const next = child->getNextSibling();
        if (child->getNodeType() == Node::ELEMENT_NODE && *child->getNodeName() == meta && child->getAttributes()->isEmpty())
            delete head->removeChild(child);
        child = next;
    }
}
