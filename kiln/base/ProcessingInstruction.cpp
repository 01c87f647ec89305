#include "kiln/base/ProcessingInstruction.h"

namespace KILN {

ProcessingInstruction::ProcessingInstruction(Document* document, const TStringPtr<unsigned short>& target,
                                             const TStringPtr<unsigned short>& data)
    : Node(document, PROCESSING_INSTRUCTION_NODE, &target)
{
    setNodeValue(data.data(), data.length());
}

Node* ProcessingInstruction::cloneNode(bool) const
{
    return new ProcessingInstruction(getOwnerDocument(), *getNodeName(), *getNodeValue());
}

} // namespace KILN
