#pragma once

#include "kiln/base/LinkList.h"
#include "kiln/base/Utf16String.h"

#include <cstdint>

namespace KILN {

class Document;
class XMLOutputter;

// One node of an element declaration's content model: a keyword, a name or a
// group of units, with its occurrence bits.
class DtdECUnit {
public:
    enum Kind : uint32_t {
        EMPTY = 1,
        ANY = 2,
        PCDATA = 4,
        NAME = 8,
        PCDATA_GROUP = 16,
        MIXED = 32,
        SEQUENCE = 64,
        CHOICE = 128,
        KIND_MASK = 0xFFF,
        OPTIONAL = 0x1000,
        ONE_OR_MORE = 0x2000,
        ZERO_OR_MORE = 0x4000,
    };

    explicit DtdECUnit(Document* owner, uint32_t kind = 0) : m_owner(owner), m_kind(kind) {}
    DtdECUnit(const DtdECUnit&) = delete;
    DtdECUnit& operator=(const DtdECUnit&) = delete;
    ~DtdECUnit();

    Document* getOwner() const { return m_owner; }
    uint32_t getKind() const { return m_kind; }
    void setKind(uint32_t kind) { m_kind = kind; }
    // The name of a NAME unit, else null.
    const Utf16String* getName() const { return m_name; }
    void setName(const TStringPtr<unsigned short>& name);
    // Null until the first child is added.
    const LinkList<DtdECUnit>* getChildren() const { return m_children; }
    // Takes ownership of child.
    void appendChild(DtdECUnit* child);

    // Writes the content model with its occurrence character.
    void output(XMLOutputter& outputter) const;

private:
    // Writes the children in parentheses, separated by separator (none when null).
    void outputGroup(XMLOutputter& outputter, const char* separator) const;

    Document* m_owner;
    uint32_t m_kind;
    Utf16String* m_name = nullptr;
    LinkList<DtdECUnit>* m_children = nullptr;
};

} // namespace KILN
