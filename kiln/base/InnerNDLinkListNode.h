#pragma once

#include "kiln/base/InnerNLinkListNode.h"

namespace KILN {

// An element with forward and backward links, set only by the list that holds it.
class InnerNDLinkListNode : public InnerNLinkListNode {
public:
    InnerNDLinkListNode() = default;
    InnerNDLinkListNode(const InnerNDLinkListNode& other) : InnerNLinkListNode(other) {}
    InnerNDLinkListNode& operator=(const InnerNDLinkListNode&) { return *this; }

private:
    template <class T>
    friend class NDLinkList;
    template <class T>
    friend class NDLinkListNode;

    InnerNDLinkListNode* m_previous = nullptr;
};

} // namespace KILN
