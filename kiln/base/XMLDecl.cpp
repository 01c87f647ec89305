#include "kiln/base/XMLDecl.h"

#include "kiln/base/Document.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/XMLOutputter.h"

namespace KILN {

XMLDecl::XMLDecl(Document* document)
    : Node(document, XML_DECL_NODE, nullptr)
{
    setNodeNameAtom(document->names().internAscii(""));
}

void XMLDecl::output(XMLOutputter& outputter) const
{
    AtomTable& names = getOwnerDocument()->names();
    const NamedNodeMap* attributes = getAttributes();
    // A document read without a declaration has no version: "<?xml ?>" would
    // make the written file unreadable, so it is written without one.
    if (!attributes->getNamedItem(*names.internAscii("version")))
        return;
    outputter.writeAscii("<?xml");
    for (const char* name : {"version", "encoding", "standalone"}) {
        if (const Node* attribute = attributes->getNamedItem(*names.internAscii(name))) {
            outputter.put(' ');
            attribute->output(outputter);
        }
    }
    outputter.writeAscii(outputter.has(XMLOutputter::noSpaceBeforeDeclClose) ? "?>" : " ?>");
}

} // namespace KILN
