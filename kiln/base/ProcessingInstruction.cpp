#include "kiln/base/ProcessingInstruction.h"

#include "kiln/base/XMLOutputter.h"

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

void ProcessingInstruction::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<?");
    outputter.write(*getNodeName());
    if (getNodeValue()->length() != 0) {
        outputter.put(' ');
        outputter.write(*getNodeValue());
    }
    outputter.writeAscii("?>");
}

} // namespace KILN
