#pragma once

#include "kiln/base/Node.h"

namespace KILN {

// A processing instruction: its target is the node name, its data the value.
class ProcessingInstruction : public Node {
public:
    ProcessingInstruction(Document* document, const TStringPtr<unsigned short>& target, const TStringPtr<unsigned short>& data);

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;
};

} // namespace KILN
