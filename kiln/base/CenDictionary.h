#pragma once

#include "kiln/base/AVLDict.h"
#include "kiln/base/CenDictionaryEntry.h"

namespace KILN {

// The dictionary of encoding names: entries keyed by their name, compared
// byte by byte after folding A-Z to a-z (ASCII letters only). It holds the
// entries of the static name table and owns none.
class CenDictionary : public AVLDict<CenDictionaryEntry, char> {
public:
    // The 192 names of the 42 encodings, in identifier order, ended by {0, null}.
    static const CenDictionaryEntry names[];

    // A dictionary of every entry of names.
    CenDictionary();

    const char* keyOf(const CenDictionaryEntry* entry) const override { return entry->name; }
    int compare(const char* a, const char* b) const override;
};

} // namespace KILN
