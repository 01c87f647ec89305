#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"
#include "kiln/base/PathString.h"
#include "kiln/base/Utf8String.h"

#include <cstdint>
#include <vector>

// The publisher's page-break spans (a span with an id and the class
// "page-normal") and the page list of the navigation document built from them.

// The namespace of the "epub:type" attribute.
extern const char* const OpsNamespace;

// One entry of the page list: the page label and the link from the
// navigation document to the span ("relative/path.xhtml#id").
struct TocItem {
    int32_t kind = 0;
    KILN::Utf8String label;
    KILN::Utf8String href;
};

// Gives every page span below body exactly one "epub:type" = "pagebreak" in
// the OPS namespace, and declares the "epub" prefix on the root element when
// a span was marked and the root lacks it.
void markPageBreaks(KILN::Document& document, KILN::Element& body);

// Appends an item for every marked page span below body (in document order,
// not inside a taken span) whose first text child is not empty; link is the
// content document as seen from the navigation document.
void collectPageBreaks(KILN::Element& body, const KILN::Utf8String& link, std::vector<TocItem>& items);

// Replaces the navigation document's page list (the last nav with the plain
// attribute epub:type="page-list") by a new one at the end of the body, one
// li/a per item. False when the document has no body.
bool rebuildPageList(KILN::Document& navigation, const std::vector<TocItem>& items);
