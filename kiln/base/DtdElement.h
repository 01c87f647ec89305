#pragma once

#include "kiln/base/DtdECUnit.h"
#include "kiln/base/Node.h"

namespace KILN {

// An element declaration of the internal subset: the declared name, its
// content model, and its attribute definitions (DtdAttlist) as children.
class DtdElement : public Node {
public:
    DtdElement(Document* document, const TStringPtr<unsigned short>& name);

    void output(XMLOutputter& outputter) const override;

    DtdECUnit& contentModel() { return m_contentModel; }
    const DtdECUnit& contentModel() const { return m_contentModel; }

private:
    DtdECUnit m_contentModel;
};

} // namespace KILN
