#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"
#include "kiln/base/PathString.h"
#include "kiln/base/Utf8String.h"

#include <cstdint>
#include <vector>

// Page breaks: the publisher's page spans (a span with an id and the class
// "page-normal") and the elements the book marks with the "epub:type"
// "pagebreak"; and the page list of the navigation document built from them.

// The namespace of the "epub:type" attribute.
extern const char* const OpsNamespace;

// One entry of the page list: the page label and the link from the
// navigation document to the span ("relative/path.xhtml#id").
struct TocItem {
    int32_t kind = 0;
    KILN::Utf8String label;
    KILN::Utf8String href;
};

// True for a publisher's page span and for an element whose "epub:type"
// lists "pagebreak".
bool isPageBreak(const KILN::Element& element);

// Gives every page span below body exactly one "epub:type" = "pagebreak" in
// the OPS namespace, and declares the "epub" prefix on the root element when
// a span was marked and the root lacks it.
void markPageBreaks(KILN::Document& document, KILN::Element& body);

// Appends an item for every element with an id below body whose "epub:type"
// lists "pagebreak" (in document order, not inside a taken one); link is the
// content document as seen from the navigation document. The label is the
// element's whole text without ruby readings (rt, rp), trimmed of white
// space; for an empty element its "title", else its "aria-label", else its id.
void collectPageBreaks(KILN::Element& body, const KILN::Utf8String& link, std::vector<TocItem>& items);

// Fills the navigation document's page list (the last nav with the plain
// attribute epub:type="page-list") with one li/a per item in place of its
// entries: the nav keeps its attributes and heading, its ol its attributes.
// Without such a nav a new one is appended to the body. False when the
// document has no body.
bool rebuildPageList(KILN::Document& navigation, const std::vector<TocItem>& items);
