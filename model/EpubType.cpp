#include "model/EpubType.h"

#include "model/PageBreaks.h"
#include "model/RootElement.h"

void setEpubType(KILN::Document& document, KILN::Element& element, const char* value)
{
    const KILN::Utf16String uri(OpsNamespace);
    const KILN::Utf16String text(value);
    // The attribute map is keyed by name: setting the namespaced attribute
    // takes a plain one of the same name out.
    element.setAttributeNS(uri, KILN::Utf16String("epub:type"), &text);
    KILN::Element* root = rootElement(document);
    const KILN::Utf16String declaration("xmlns:epub");
    if (root && !root->getAttributes()->getNamedItem(declaration))
        root->setAttribute(declaration, &uri);
}
