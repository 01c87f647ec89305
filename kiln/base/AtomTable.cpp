#include "kiln/base/AtomTable.h"

#include <memory>

namespace KILN {

AtomTable::~AtomTable()
{
    clear();
}

void AtomTable::clear()
{
    std::unique_ptr<Iterator<Utf16String>> it(iterator());
    while (it->hasNext())
        delete it->next();
    AVLDict<Utf16String, Utf16String>::clear();
    for (const Utf16String*& slot : m_cache)
        slot = nullptr;
}

bool AtomTable::remove(Utf16String* element)
{
    for (const Utf16String*& slot : m_cache) {
        if (slot == element)
            slot = nullptr;
    }
    return AVLDict<Utf16String, Utf16String>::remove(element);
}

int AtomTable::compare(const Utf16String* a, const Utf16String* b) const
{
    return Utf16String::compareUnits(a->data(), a->length(), b->data(), b->length());
}

// FNV-1a over the units, folded to a slot.
template <class Unit>
uint32_t AtomTable::slotOf(const Unit* units, uint32_t length)
{
    uint32_t hash = 2166136261u;
    for (uint32_t i = 0; i < length; ++i)
        hash = (hash ^ static_cast<unsigned short>(units[i])) * 16777619u;
    return (hash ^ (hash >> 16)) & (CacheSlots - 1);
}

template <class Unit>
const Utf16String* AtomTable::cached(uint32_t slot, const Unit* units, uint32_t length) const
{
    const Utf16String* atom = m_cache[slot];
    if (!atom || atom->length() != length)
        return nullptr;
    const unsigned short* stored = atom->data();
    for (uint32_t i = 0; i < length; ++i) {
        if (stored[i] != static_cast<unsigned short>(units[i]))
            return nullptr;
    }
    return atom;
}

// Looks the probe up in the tree and caches what it finds.
const Utf16String* AtomTable::found(uint32_t slot)
{
    const Utf16String* atom = find(&m_probe);
    if (atom)
        m_cache[slot] = atom;
    return atom;
}

const Utf16String* AtomTable::lookup(const unsigned short* units, uint32_t length)
{
    const uint32_t slot = slotOf(units, length);
    if (const Utf16String* atom = cached(slot, units, length))
        return atom;
    m_probe.assign(units, length);
    return found(slot);
}

const Utf16String* AtomTable::intern(const unsigned short* units, uint32_t length)
{
    if (const Utf16String* atom = lookup(units, length))
        return atom;
    Utf16String* atom = new Utf16String(units, length);
    add(atom);
    m_cache[slotOf(units, length)] = atom;
    return atom;
}

const Utf16String* AtomTable::internAscii(const char* ascii)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(ascii);
    uint32_t length = 0;
    while (bytes[length])
        ++length;
    const uint32_t slot = slotOf(bytes, length);
    if (const Utf16String* atom = cached(slot, bytes, length))
        return atom;
    m_probe.clear();
    for (uint32_t i = 0; i < length; ++i)
        m_probe.append(bytes[i]);
    if (const Utf16String* atom = found(slot))
        return atom;
    Utf16String* atom = new Utf16String(m_probe);
    add(atom);
    m_cache[slot] = atom;
    return atom;
}

} // namespace KILN
