// cleanHead: the publisher leaves empty meta elements in the head.

#include "kiln/base/Element.h"
#include "model/NamespaceScope.h"
#include "model/PostProcess.h"
#include "model/RootElement.h"

using KILN::Node;

void cleanHead(KILN::Document& document)
{
    KILN::Element* root = rootElement(document);
    KILN::Element* head = root ? firstXhtmlChild(*root, u"head") : nullptr;
    if (!head)
        return;
    Node* child = head->getFirstChild();
    while (child) {
        Node* const next = child->getNextSibling();
        if (child->getNodeType() == Node::ELEMENT_NODE && hasLocalName(static_cast<KILN::Element&>(*child), u"meta")
            && child->getAttributes()->isEmpty())
            delete head->removeChild(child);
        child = next;
    }
}
