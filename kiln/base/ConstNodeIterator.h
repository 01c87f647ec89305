#pragma once

#include "kiln/base/NodeIterator.h"

namespace KILN {

// A read-only walk of a subtree in document order. Only an element, a text,
// a document or a fragment is accepted as root; any other root yields nothing.
class ConstNodeIterator : public Iterator<const Node> {
public:
    explicit ConstNodeIterator(const Node* root);

    const Node* next() override { return m_walk.next(); }
    const Node* first() override { return m_walk.first(); }
    const Node* last() override { return m_walk.last(); }
    bool hasNext() const override { return m_walk.hasNext(); }

private:
    NodeIterator m_walk;
};

} // namespace KILN
