#pragma once

#include "kiln/base/AVLDict.h"
#include "kiln/base/Utf16String.h"

namespace KILN {

// The interned names of one document: equal strings are stored once, so that
// names compare by pointer. The table owns its strings. A small cache of
// recent atoms sits in front of the tree: a document uses few names, and
// every node interns one ("#text" for most), so most lookups end there.
// Even a lookup moves the cache, so a table (and its document) is used by
// one thread at a time.
class AtomTable : public AVLDict<Utf16String, Utf16String> {
public:
    AtomTable() = default;
    AtomTable(const AtomTable&) = delete;
    AtomTable& operator=(const AtomTable&) = delete;
    ~AtomTable() override;

    // The stored string equal to the units, added when absent.
    const Utf16String* intern(const unsigned short* units, uint32_t length);
    const Utf16String* intern(const TStringPtr<unsigned short>& text) { return intern(text.data(), text.length()); }
    const Utf16String* internAscii(const char* ascii);
    // The stored string equal to the units, or null; nothing is added.
    const Utf16String* lookup(const unsigned short* units, uint32_t length);
    const Utf16String* lookup(const TStringPtr<unsigned short>& text) { return lookup(text.data(), text.length()); }

    // Taking an atom out also takes it out of the cache.
    bool remove(Utf16String* element) override;
    void clear() override;

    const Utf16String* keyOf(const Utf16String* element) const override { return element; }
    int compare(const Utf16String* a, const Utf16String* b) const override;

private:
    // A power of two; a few dozen names cover the markup of a book.
    static constexpr uint32_t CacheSlots = 64;

    template <class Unit>
    static uint32_t slotOf(const Unit* units, uint32_t length);
    template <class Unit>
    const Utf16String* cached(uint32_t slot, const Unit* units, uint32_t length) const;
    const Utf16String* found(uint32_t slot);

    Utf16String m_probe;
    const Utf16String* m_cache[CacheSlots] = {};
};

} // namespace KILN
