#pragma once

#include "kiln/base/Node.h"

namespace KILN {

// A node that may name an external resource by public and system identifier
// (each null when absent).
class External : public Node {
public:
    ~External() override;

    const Utf16String* getPublicId() const { return m_publicId; }
    const Utf16String* getSystemId() const { return m_systemId; }
    // A null identifier clears it.
    void setPublicId(const TStringPtr<unsigned short>* id) { replace(m_publicId, id); }
    void setSystemId(const TStringPtr<unsigned short>* id) { replace(m_systemId, id); }

    // Writes "PUBLIC" and the identifiers, or "SYSTEM" and the system
    // identifier; false, and nothing written, when there is neither.
    bool outputExternalId(XMLOutputter& outputter) const;

protected:
    External(Document* document, uint16_t nodeType, const TStringPtr<unsigned short>& name);
    // A node of the same name and identifiers as source.
    External(const External& source);

private:
    static void replace(Utf16String*& field, const TStringPtr<unsigned short>* id);

    Utf16String* m_publicId = nullptr;
    Utf16String* m_systemId = nullptr;
};

} // namespace KILN
