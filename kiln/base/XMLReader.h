#pragma once

#include "kiln/base/TextWriter.h"

#include <cstdint>

namespace KILN {

class XMLParserSrcUnit;

// Reads an XML document whole and decodes it once into UTF-16 for the
// parser: the XML detector decides the encoding from the first bytes and the
// declaration; UTF-8 is decoded in one loop, any other encoding through the
// block reads of the registry's converter chain. The file is read at the size
// it reports and the text decoded into one buffer sized from the byte count.
class XMLReader {
public:
    // messages is where the reader's messages would go (null: the library's
    // default writer); reading a local file writes none.
    explicit XMLReader(TextWriter<unsigned short>* messages);

    // The decoded text of the file as a source unit (named "unknown") that
    // owns its text; null when the file cannot be opened, read or decoded.
    // Raises XMLParseError 164 when the declaration names an encoding that
    // the registry does not know (the bytes would be read as garbage), 174 at
    // malformed UTF-8, 176 at a code that neither Shift_JIS nor code page 932
    // maps in a document declared Shift_JIS (which reads the codes Shift_JIS
    // lacks as code page 932 does).
    XMLParserSrcUnit* openFile(const unsigned short* path);
    // The same for bytes in memory.
    XMLParserSrcUnit* decode(const uint8_t* bytes, uint32_t length);

    TextWriter<unsigned short>* messages() const { return m_messages; }

private:
    TextWriter<unsigned short>* m_messages;
};

} // namespace KILN
