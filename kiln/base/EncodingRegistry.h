#pragma once

#include <cstdint>

namespace KILN {

class CompositIFilter;

// The process-wide registries of encodings: names to identifiers, and
// converter chains between identifiers. Both are created by the library's
// start-up (or on first use) and deleted by its shut-down; afterwards they
// are only read, and may be read from several threads at once. Never throws.
class EncodingRegistry {
public:
    // Identifiers the library itself uses.
    enum Id : int32_t {
        Unknown = 0,
        Ucs2 = 2,
        Ucs4 = 4,
        Ucs4Be = 5,
        Utf8 = 7,
        Utf8N = 8,
        Utf16 = 9,
        Utf16N = 10,
        Utf16Be = 13,
        Utf16Le = 14,
        Iso2022Jp = 21,
        EucJp = 22,
        ShiftJis = 23,
        Cp932 = 37,
        JaDetector = 40,
        XmlDetector = 41,
        HtmlDetector = 42,
    };

    // The library life-cycle hook: true creates both registries, false
    // deletes them. Always answers true.
    static bool lifeCycle(bool starting);

    // Identifier of an encoding name (ASCII letters in any case); 0 when unknown.
    static int32_t idOf(const char* name);

    // A new chain converting text of encoding from into encoding to, owned by
    // the caller; null when there is none. Equal identifiers answer a chain
    // that passes every unit through.
    static CompositIFilter* chain(int32_t from, int32_t to);
};

} // namespace KILN
