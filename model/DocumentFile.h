#pragma once

#include "kiln/base/Document.h"
#include "kiln/base/PathString.h"

#include <cstdint>
#include <memory>

// Reading an XML file of the book into a document and writing one back, as
// every step of the model does.

// Parser flags of the container and the package document: namespaces on.
constexpr uint32_t PackageParseFlags = 0x804;
// Parser flags of content and navigation documents: names as written, every
// character and entity reference kept as a marked, atomic piece of text that
// the serializer writes back exactly as it was read (predefined entities
// expanded, written escaped again).
constexpr uint32_t ContentParseFlags = 0x2E06;

// True when path names a regular file (or a symbolic link to one).
bool isRegularFile(const KILN::PathString& path);

// The document parsed from path with flags, or null when it is no regular
// file, cannot be read or is not well-formed.
std::unique_ptr<KILN::Document> readDocument(const KILN::PathString& path, uint32_t flags);

enum class WriteResult { Done, OutputFailed, OpenFailed, WriteFailed };

// Sets the declaration's "encoding" (when it has one) to "UTF-8", serializes
// the document and writes it as UTF-8 with a byte-order mark, replacing the
// file only once it is complete. Answers which step failed.
WriteResult writeDocument(const KILN::PathString& path, KILN::Document& document);
