#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"

// The first element child of the document (its root element), or null.
KILN::Element* rootElement(const KILN::Document& document);
