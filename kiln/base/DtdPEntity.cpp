#include "kiln/base/DtdPEntity.h"

namespace KILN {

DtdPEntity::DtdPEntity(Document* document, const TStringPtr<unsigned short>& name)
    : External(document, DTD_PENTITY_NODE, name)
{
}

Node* DtdPEntity::cloneNode(bool) const
{
    return new DtdPEntity(*this);
}

} // namespace KILN
