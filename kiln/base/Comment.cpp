#include "kiln/base/Comment.h"

#include "kiln/base/XMLOutputter.h"

namespace KILN {

Comment::Comment(Document* document, const TStringPtr<unsigned short>* text)
    : CharacterData(document, COMMENT_NODE, "#comment", text)
{
}

Node* Comment::cloneNode(bool) const
{
    return new Comment(getOwnerDocument(), getNodeValue());
}

void Comment::output(XMLOutputter& outputter) const
{
    outputter.writeAscii("<!--");
    outputter.write(*getNodeValue());
    outputter.writeAscii("-->");
}

} // namespace KILN
