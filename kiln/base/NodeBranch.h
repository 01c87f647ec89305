#pragma once

#include "kiln/base/NDLinkList.h"
#include "kiln/base/NNodeList.h"
#include "kiln/base/NamedNodeMap.h"

namespace KILN {

class Node;

// The containers of a node: its owning child list, the list view handed out
// by getChildNodes, and its attribute map. Most nodes (text above all) never
// need them, so a node makes them on first use; an element, which nearly
// always has children or attributes, holds them itself.
struct NodeBranch {
    explicit NodeBranch(Node* owner) : children(true), childNodes(children), attributes(owner) {}

    NDLinkList<Node> children;
    NNodeList childNodes;
    NamedNodeMap attributes;
};

} // namespace KILN
