#pragma once

#include "kiln/base/External.h"

namespace KILN {

// A notation declared in the internal subset, with its identifiers.
class Notation : public External {
public:
    Notation(Document* document, const TStringPtr<unsigned short>& name);

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

private:
    explicit Notation(const Notation& source) : External(source) {}
};

} // namespace KILN
