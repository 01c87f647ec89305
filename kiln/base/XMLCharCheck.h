#pragma once

#include <cstdint>

namespace KILN {

// Refuses document text holding a unit outside XML's Char production: a C0
// control other than tab, line feed and carriage return, U+FFFE, U+FFFF, or a
// surrogate not in a pair. Such text is not XML, and U+0001 and U+0002 would
// pass for the parser's reference markers. Raises XMLParseError 175 with the
// line and column (in characters, from 1) of the first one.
void checkXmlCharacters(const unsigned short* text, uint32_t length);

// "line L, byte offset B" of the byte at offset in bytes: for messages on
// the raw bytes of a document.
void throwAtByte(int32_t code, const uint8_t* bytes, uint32_t offset);

} // namespace KILN
