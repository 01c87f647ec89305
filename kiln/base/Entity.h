#pragma once

#include "kiln/base/External.h"

namespace KILN {

// A general entity declared in the internal subset: its replacement text, or
// its identifiers and optional notation (NDATA) name.
class Entity : public External {
public:
    Entity(Document* document, const TStringPtr<unsigned short>& name);
    ~Entity() override;

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

    const Utf16String* getNotationName() const { return m_notationName; }
    void setNotationName(const TStringPtr<unsigned short>& name);
    const Utf16String& getReplacementText() const { return m_replacementText; }
    Utf16String& replacementText() { return m_replacementText; }

private:
    explicit Entity(const Entity& source) : External(source) {}

    Utf16String* m_notationName = nullptr;
    Utf16String m_replacementText;
};

} // namespace KILN
