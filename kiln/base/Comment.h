#pragma once

#include "kiln/base/CharacterData.h"

namespace KILN {

// The text of a comment, named "#comment".
class Comment : public CharacterData {
public:
    // A null text gives an empty comment.
    Comment(Document* document, const TStringPtr<unsigned short>* text);

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;
};

} // namespace KILN
