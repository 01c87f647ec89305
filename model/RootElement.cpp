#include "model/RootElement.h"

KILN::Element* rootElement(const KILN::Document& document)
{
    for (KILN::Node* child = document.getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() == KILN::Node::ELEMENT_NODE)
            return static_cast<KILN::Element*>(child);
    }
    return nullptr;
}
