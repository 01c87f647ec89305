#pragma once

#include "kiln/base/ArrayList.h"
#include "kiln/base/NodeList.h"

namespace KILN {

// A list of nodes collected by a search (getElementsByTagName); the caller
// deletes the list, which does not own its nodes.
class XNodeList : public NodeList {
public:
    XNodeList() : NodeList(m_nodes) {}
    XNodeList(const XNodeList&) = delete;
    XNodeList& operator=(const XNodeList&) = delete;

private:
    ArrayList<Node> m_nodes;
};

} // namespace KILN
