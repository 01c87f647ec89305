#pragma once

#include "kiln/base/LinkList.h"
#include "kiln/base/Node.h"

namespace KILN {

// One attribute definition of an ATTLIST declaration: the attribute name,
// its type, its default and, for NOTATION and enumerated types, its values.
class DtdAttlist : public Node {
public:
    enum AttType : uint32_t {
        NO_TYPE = 0, CDATA = 1, ID = 2, IDREF = 3, IDREFS = 4, NMTOKEN = 5,
        NMTOKENS = 6, ENTITY = 7, ENTITIES = 8, NOTATION = 9, ENUMERATION = 10,
    };
    enum DefaultKind : uint32_t { REQUIRED = 1, IMPLIED = 2, FIXED = 3, VALUE = 4 };

    DtdAttlist(Document* document, const TStringPtr<unsigned short>& name);
    ~DtdAttlist() override;

    // Writes the definition; the first of its ATTLIST opens the declaration
    // and the last closes it.
    void output(XMLOutputter& outputter) const override;

    uint32_t getAttType() const { return m_attType; }
    void setAttType(uint32_t type) { m_attType = type; }
    uint32_t getDefaultKind() const { return m_defaultKind; }
    void setDefaultKind(uint32_t kind) { m_defaultKind = kind; }
    // Null when there is no default value.
    const Utf16String* getDefaultValue() const { return m_defaultValue; }
    void setDefaultValue(const TStringPtr<unsigned short>& value);
    // The names or tokens of a NOTATION or enumerated type; null when none.
    const LinkList<Utf16String>* getEnumeration() const { return m_enumeration; }
    void appendEnumeration(const TStringPtr<unsigned short>& value);
    uint8_t getFirstOfList() const { return m_firstOfList; }
    void setFirstOfList(uint8_t value) { m_firstOfList = value; }
    uint8_t getLastOfList() const { return m_lastOfList; }
    void setLastOfList(uint8_t value) { m_lastOfList = value; }

private:
    uint32_t m_attType = NO_TYPE;
    uint32_t m_defaultKind = 0;
    Utf16String* m_defaultValue = nullptr;
    LinkList<Utf16String>* m_enumeration = nullptr;
    uint8_t m_firstOfList = 0;
    uint8_t m_lastOfList = 0;
};

} // namespace KILN
