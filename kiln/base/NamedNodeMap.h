#pragma once

#include "kiln/base/AVLDict.h"
#include "kiln/base/Utf16String.h"

namespace KILN {

class Node;

// The attributes of a node (or the declarations of a document type), ordered
// by node name in UTF-16 code units. The map owns its nodes.
class NamedNodeMap : public AVLDict<KILN::Node, Utf16String> {
public:
    explicit NamedNodeMap(KILN::Node* owner) : m_owner(owner) {}
    NamedNodeMap(const NamedNodeMap&) = delete;
    NamedNodeMap& operator=(const NamedNodeMap&) = delete;
    ~NamedNodeMap() override;

    KILN::Node* getOwner() const { return m_owner; }
    KILN::Node* getNamedItem(const TStringPtr<unsigned short>& name) const;
    KILN::Node* getNamedItem(const Utf16String& name) const { return find(&name); }
    // Puts node in, taking out a node of the same name; answers the node taken
    // out (now the caller's) or null.
    KILN::Node* setNamedItem(KILN::Node* node);
    // As setNamedItem, matching by local name and namespace URI.
    KILN::Node* setNamedItemNS(KILN::Node* node);
    // Takes node out of the map without destroying it; false when absent.
    bool removeNamedItem(KILN::Node* node);
    // The node with these local-name and namespace atoms, or null.
    KILN::Node* findNS(const Utf16String* localName, const Utf16String* namespaceURI) const;

    const Utf16String* keyOf(const KILN::Node* element) const override;
    int compare(const Utf16String* a, const Utf16String* b) const override;

private:
    KILN::Node* replaceBy(KILN::Node* node, KILN::Node* old);

    KILN::Node* m_owner;
};

} // namespace KILN
