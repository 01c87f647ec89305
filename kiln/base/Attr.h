#pragma once

#include "kiln/base/Node.h"

namespace KILN {

class Element;

// An attribute: its name, its value (the node's value), whether it was
// specified, and the element whose attribute map holds it.
class Attr : public Node {
public:
    // A null value gives an empty one.
    Attr(Document* document, const TStringPtr<unsigned short>& name, const TStringPtr<unsigned short>* value = nullptr);

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

    uint8_t getSpecified() const { return m_specified; }
    // Null while no map holds the attribute.
    Node* getOwnerElement() const { return m_ownerElement; }
    void setOwnerElement(Node* element) { m_ownerElement = element; }

protected:
    Utf16String* valueStorage() override;

private:
    explicit Attr(const Attr& source);

    Utf16String m_text;
    uint8_t m_specified = 1;
    Node* m_ownerElement = nullptr;
};

} // namespace KILN
