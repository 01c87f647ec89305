#include "kiln/base/CharacterData.h"

#include "kiln/base/Document.h"

namespace KILN {

CharacterData::CharacterData(Document* document, uint16_t nodeType, const char* nodeName, const TStringPtr<unsigned short>* text)
    : CharacterData(document, nodeType, document->names().internAscii(nodeName), text)
{
}

CharacterData::CharacterData(Document* document, uint16_t nodeType, const Utf16String* nodeName,
                             const TStringPtr<unsigned short>* text)
    : Node(document, nodeType, nullptr), m_text(text ? Utf16String(*text) : Utf16String())
{
    setNodeNameAtom(nodeName);
}

Utf16String* CharacterData::valueStorage()
{
    return &m_text;
}

} // namespace KILN
