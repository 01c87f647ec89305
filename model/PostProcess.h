#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"

// The rewritings of a content document after the authoring step. None of
// them looks inside "script" or "style" elements or cuts a marked reference.

// Replaces the ruby notation in every text node below body by ruby elements
// (rb, rt, and rp with full-width parentheses when rpOutput is set; class
// "original" for an angle reading). label names the document in the message
// of error 23, raised on malformed notation.
void convertRuby(KILN::Element& body, KILN::Document& document, const char* label, bool rpOutput);

// Replaces every single "_" below body by a wbr element and every single "~"
// by a wbr of class "sub"; a doubled mark becomes the character itself.
void convertWordBreaks(KILN::Element& body, KILN::Document& document);

// Removes the meta elements without attributes from the document's head.
void cleanHead(KILN::Document& document);
