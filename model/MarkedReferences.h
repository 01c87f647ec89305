#pragma once

#include "kiln/base/TStringPtr.h"
#include "kiln/base/Utf16String.h"

#include <cstdint>

// The character and entity references that the parser keeps in a text as one
// marked piece: U+0001, the name or "#digits", U+0002. The conversions step
// over such a piece as a whole, so that a mark or bracket inside a name
// (&my_name;) stays where it is.
class MarkedReferences {
public:
    static constexpr unsigned short Start = 0x0001;
    static constexpr unsigned short End = 0x0002;

    // text must outlive this object.
    explicit MarkedReferences(const KILN::TStringPtr<unsigned short>& text)
        : m_units(text.data()), m_length(text.length()), m_unclosedFrom(text.length()) {}

    // The index just past the reference that starts at index, or index itself
    // when none starts there. A U+0001 without a U+0002 after it starts none.
    // Called with growing indexes and followed by a jump past the answer, the
    // scans add up to one pass over the text.
    uint32_t skip(uint32_t index);

    // The text as written in the file: marked pieces get their '&' and ';'
    // back (each mark stands where one of them was).
    static KILN::Utf16String written(const KILN::Utf16String& text);

private:
    const unsigned short* m_units;
    uint32_t m_length;
    // No U+0002 follows this index.
    uint32_t m_unclosedFrom;
};
