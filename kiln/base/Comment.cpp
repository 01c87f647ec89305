#include "kiln/base/Comment.h"

namespace KILN {

Comment::Comment(Document* document, const TStringPtr<unsigned short>* text)
    : CharacterData(document, COMMENT_NODE, "#comment", text)
{
}

Node* Comment::cloneNode(bool) const
{
    return new Comment(getOwnerDocument(), getNodeValue());
}

} // namespace KILN
