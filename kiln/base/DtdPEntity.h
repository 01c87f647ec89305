#pragma once

#include "kiln/base/External.h"

namespace KILN {

// A parameter entity declared in the internal subset; its literal value is
// the node's value.
class DtdPEntity : public External {
public:
    DtdPEntity(Document* document, const TStringPtr<unsigned short>& name);

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

private:
    explicit DtdPEntity(const DtdPEntity& source) : External(source) {}
};

} // namespace KILN
