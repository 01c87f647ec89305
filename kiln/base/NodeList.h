#pragma once

#include "kiln/base/ListProxy.h"

namespace KILN {

class Node;

// A list of nodes seen through the list interface; it never owns the nodes.
class NodeList : public ListProxy<Node> {
public:
    explicit NodeList(List<Node>& target) : ListProxy<Node>(target) {}
};

} // namespace KILN
