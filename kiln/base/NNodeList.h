#pragma once

#include "kiln/base/NDLinkList.h"
#include "kiln/base/NodeList.h"

namespace KILN {

// The children of a node, seen through the list interface over the node's
// owning intrusive child list.
class NNodeList : public NodeList {
public:
    explicit NNodeList(NDLinkList<Node>& children) : NodeList(children) {}
};

} // namespace KILN
