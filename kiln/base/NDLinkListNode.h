#pragma once

#include "kiln/base/InnerNDLinkListNode.h"

namespace KILN {

// Base of a class T whose objects are kept in an NDLinkList<T>
// (class Node : public NDLinkListNode<Node>): the element carries its links.
template <class T>
class NDLinkListNode : public InnerNDLinkListNode {
public:
    // The neighbours in the list that holds this element; null at the ends
    // and when the element is in no list.
    T* nextInList() const;
    T* previousInList() const;
};

template <class T>
T* NDLinkListNode<T>::nextInList() const
{
    return static_cast<T*>(m_next);
}

template <class T>
T* NDLinkListNode<T>::previousInList() const
{
    return static_cast<T*>(m_previous);
}

} // namespace KILN
