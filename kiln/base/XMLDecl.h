#pragma once

#include "kiln/base/Node.h"

namespace KILN {

// The XML declaration of a document: its pseudo-attributes "version",
// "encoding" and "standalone" are Attr nodes of its attribute map. It has an
// empty name and cannot be cloned.
class XMLDecl : public Node {
public:
    explicit XMLDecl(Document* document);

    // Writes nothing when there is no version (no declaration was read).
    void output(XMLOutputter& outputter) const override;
};

} // namespace KILN
