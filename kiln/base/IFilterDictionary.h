#pragma once

#include "kiln/base/AVLDict.h"
#include "kiln/base/IFilterDictionaryEntry.h"

namespace KILN {

// The dictionary of converter chains, keyed by to + from * 65536. It owns its
// entries: one heap entry per record of the chain table.
class IFilterDictionary : public AVLDict<IFilterDictionaryEntry, int> {
public:
    // A dictionary of every record of the chain table.
    IFilterDictionary();
    ~IFilterDictionary() override;

    static int keyFor(int32_t from, int32_t to) { return to + from * 65536; }

    const int* keyOf(const IFilterDictionaryEntry* entry) const override { return &entry->key; }
    int compare(const int* a, const int* b) const override { return *a - *b; }
};

} // namespace KILN
