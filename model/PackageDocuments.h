#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"
#include "kiln/base/PathString.h"
#include "kiln/base/Utf8String.h"

#include <memory>
#include <vector>

// The package document (OPF) of a book: its tree and the four elements the
// model works with, which point into it.
struct PackageDocuments {
    std::unique_ptr<KILN::Document> document;
    KILN::Element* package = nullptr;
    KILN::Element* metadata = nullptr;
    KILN::Element* manifest = nullptr;
    KILN::Element* spine = nullptr;
};

// One content document of the spine: the manifest item's href as written
// (relative to the package document, '/' separated, not percent-decoded) and
// the href of its media overlay (empty when none).
struct LinkPair {
    KILN::Utf8String href;
    KILN::Utf8String overlay;
};

// Finds META-INF/container.xml below workDirectory and sets opfPath to the
// package document it declares. False when there is none, or when the
// declared path would leave workDirectory.
bool locateOpf(const KILN::PathString& workDirectory, KILN::PathString& opfPath);

// Reads the package document at opfPath into package and answers the path of
// the navigation document (the XHTML item whose "properties" lists "nav"). Raises 9, 10, 11, and 17 (no navigation item, or
// one whose href leaves workDirectory).
KILN::PathString loadPackage(const KILN::PathString& opfPath, const KILN::PathString& workDirectory,
                             PackageDocuments& package);

// Appends a LinkPair for every itemref of the spine, in spine order, that
// names a manifest item of media type application/xhtml+xml, or one whose
// fallback chain leads to such an item (whose href the pair then has).
// Other spine items (images, SVG, foreign resources) are no content
// documents and are left as they are.
void spineList(const PackageDocuments& package, std::vector<LinkPair>& pairs);

// Sets the spine's "page-progression-direction" to "rtl" or "ltr".
void setPageProgression(PackageDocuments& package, bool rightToLeft);

// Writes the package document back to opfPath; false on failure.
bool writeOpf(const KILN::PathString& opfPath, PackageDocuments& package);
