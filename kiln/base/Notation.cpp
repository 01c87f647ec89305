#include "kiln/base/Notation.h"

namespace KILN {

Notation::Notation(Document* document, const TStringPtr<unsigned short>& name)
    : External(document, NOTATION_NODE, name)
{
}

Node* Notation::cloneNode(bool) const
{
    return new Notation(*this);
}

} // namespace KILN
