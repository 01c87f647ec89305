#include "kiln/base/XMLDecl.h"

#include "kiln/base/Document.h"

namespace KILN {

XMLDecl::XMLDecl(Document* document)
    : Node(document, XML_DECL_NODE, nullptr)
{
    setNodeNameAtom(document->names().internAscii(""));
}

} // namespace KILN
