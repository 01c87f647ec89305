#pragma once

#include "kiln/base/InnerListNode.h"

namespace KILN {

template <class T>
class NDLinkList;
template <class T>
class NDLinkListNode;

// An element with a forward link, set only by the list that holds it. A copy
// of an element starts unlinked: links belong to the place in a list, not to
// the element's value.
class InnerNLinkListNode : public InnerListNode {
public:
    InnerNLinkListNode() = default;
    InnerNLinkListNode(const InnerNLinkListNode&) : InnerListNode() {}
    InnerNLinkListNode& operator=(const InnerNLinkListNode&) { return *this; }

private:
    template <class T>
    friend class NDLinkList;
    template <class T>
    friend class NDLinkListNode;

    InnerNLinkListNode* m_next = nullptr;
};

} // namespace KILN
