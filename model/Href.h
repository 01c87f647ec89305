#pragma once

#include "kiln/base/PathString.h"
#include "kiln/base/Utf8String.h"

// Hrefs the model follows (manifest items, the navigation item, spine
// entries) and writes (page-list links): relative URLs, '/' separated and
// percent-escaped, turned into files of the unpacked book and back.

// The href's path with its %XX escapes decoded and any "#fragment" cut.
KILN::Utf8String percentDecoded(const KILN::Utf8String& href);

// A path as an href: characters that may not stand in a URL ('%', space,
// '#', '?', controls and the like) written as %XX; other characters,
// non-ASCII ones included, as they are.
KILN::Utf8String hrefEncoded(const KILN::Utf8String& path);

// The file href names relative to directory: the decoded href joined to
// directory; the href as written when only that names an existing file (a
// book packed with a literal "%20" in a file name).
KILN::PathString hrefPath(const KILN::PathString& directory, const KILN::Utf8String& href);

// True when path, with its "." and ".." parts resolved, lies below root.
bool staysInside(const KILN::PathString& root, const KILN::PathString& path);

// The link from the navigation document to the content document, both full
// paths: "../" for each folder to climb, the folders to descend, the file name.
KILN::PathString relativeHref(const KILN::PathString& navigationPath, const KILN::PathString& contentPath);
