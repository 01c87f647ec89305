#pragma once

#include "kiln/base/Text.h"

namespace KILN {

// The content of a CDATA section, kept unescaped. Made from text it has the
// text type (3); a clone has the CDATA type (4).
class CDATASection : public Text {
public:
    CDATASection(Document* document, const TStringPtr<unsigned short>& text);

    Node* cloneNode(bool deep) const override;
    void output(XMLOutputter& outputter) const override;

private:
    CDATASection(Document* document, uint16_t nodeType, const TStringPtr<unsigned short>& text);
};

} // namespace KILN
