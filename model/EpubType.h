#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"

// Gives element the attribute "epub:type" = value in the OPS namespace, in
// place of any attribute of that name read from the file, and declares the
// "epub" prefix on the document's root element when the root lacks that
// declaration, so that the written document stays namespace-well-formed.
void setEpubType(KILN::Document& document, KILN::Element& element, const char* value);
