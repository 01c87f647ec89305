#include "kiln/base/CharacterData.h"

#include "kiln/base/Document.h"

namespace KILN {

CharacterData::CharacterData(Document* document, uint16_t nodeType, const char* nodeName, const TStringPtr<unsigned short>* text)
    : Node(document, nodeType, nullptr)
{
    setNodeNameAtom(document->names().internAscii(nodeName));
    if (text)
        mutableValue().assign(text->data(), text->length());
}

} // namespace KILN
