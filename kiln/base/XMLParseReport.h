#pragma once

#include "kiln/base/Utf16String.h"

#include <cstdint>

namespace KILN {

// A place in a document's text: its line and its column in characters, both
// counted from 1 (a CR LF or LF ends a line; a byte-order mark takes no room).
struct XMLSourcePosition {
    uint32_t line = 1;
    uint32_t column = 1;
};

// Moves position over the units [from, to) of a text.
void advancePosition(XMLSourcePosition& position, const unsigned short* from, const unsigned short* to);

// About thirty characters of the line around at, looking back no further
// than first and ahead no further than end; control characters become
// spaces, so that the excerpt fits on one line of a message.
Utf16String excerptAround(const unsigned short* first, const unsigned short* at, const unsigned short* end);

// How a parse failed, for a caller that shows the error itself: the code and
// message of the grammar error, where in the document text it was found and
// a short excerpt of that line around it. code stays 0 when the parse
// succeeded or the file could not be opened or decoded.
struct XMLParseReport {
    int32_t code = 0;
    const char* message = "";
    TString<char> detail;
    XMLSourcePosition position;
    Utf16String excerpt;
};

} // namespace KILN
