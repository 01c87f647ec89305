#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/Element.h"
#include "kiln/base/PathString.h"
#include "model/DocumentFile.h"

#include <memory>

// Content documents (XHTML) as the model reads, finds and writes them.

// Reads the content document at path; raises 12 when it does not exist (or
// is not a regular file), 13 when it is not well-formed, with the grammar
// error as its diagnostic under name (UTF-8; null: the path).
std::unique_ptr<KILN::Document> readContent(const KILN::PathString& path, const char* name = nullptr);

// Writes the document to path (place: see writeDocument); raises 14, 15 or
// 16 by the step that failed.
void writeContent(const KILN::PathString& path, KILN::Document& document, WritePlace place = WritePlace::Replaced);

// The first XHTML child element "body" (any prefix) of the document's first
// element child, or null.
KILN::Element* findBody(KILN::Document& document);
