#include "kiln/base/AtomTable.h"

#include <memory>

namespace KILN {

AtomTable::~AtomTable()
{
    std::unique_ptr<Iterator<Utf16String>> it(iterator());
    while (it->hasNext())
        delete it->next();
    clear();
}

int AtomTable::compare(const Utf16String* a, const Utf16String* b) const
{
    return Utf16String::compareUnits(a->data(), a->length(), b->data(), b->length());
}

const Utf16String* AtomTable::lookup(const unsigned short* units, uint32_t length)
{
    m_probe.assign(units, length);
    return find(&m_probe);
}

const Utf16String* AtomTable::intern(const unsigned short* units, uint32_t length)
{
    if (const Utf16String* atom = lookup(units, length))
        return atom;
    Utf16String* atom = new Utf16String(units, length);
    add(atom);
    return atom;
}

const Utf16String* AtomTable::internAscii(const char* ascii)
{
    m_probe.clear();
    while (*ascii)
        m_probe.append(static_cast<unsigned short>(static_cast<unsigned char>(*ascii++)));
    if (const Utf16String* atom = find(&m_probe))
        return atom;
    Utf16String* atom = new Utf16String(m_probe);
    add(atom);
    return atom;
}

} // namespace KILN
