#pragma once

#include <cstdint>

namespace KILN {

class Document;

// The parse entries. Each answers a new document that the caller owns, or
// null; a grammar error is reported as one line "ERROR:%d: %s\n" on the
// standard error stream. flags are the XMLScanner::Flags.

// Parses UTF-16 text (a leading byte-order mark is skipped).
Document* parseXMLText(const unsigned short* text, uint32_t length, uint32_t flags);

} // namespace KILN
