#include "kiln/base/DtdElement.h"

namespace KILN {

DtdElement::DtdElement(Document* document, const TStringPtr<unsigned short>& name)
    : Node(document, DTD_ELEMENT_NODE, &name), m_contentModel(document)
{
}

} // namespace KILN
