#include "kiln/base/DtdAttlist.h"

namespace KILN {

DtdAttlist::DtdAttlist(Document* document, const TStringPtr<unsigned short>& name)
    : Node(document, DTD_ATTLIST_NODE, &name)
{
}

DtdAttlist::~DtdAttlist()
{
    delete m_defaultValue;
    if (m_enumeration) {
        while (Utf16String* value = m_enumeration->removeFirst())
            delete value;
        delete m_enumeration;
    }
}

void DtdAttlist::setDefaultValue(const TStringPtr<unsigned short>& value)
{
    delete m_defaultValue;
    m_defaultValue = new Utf16String(value);
}

void DtdAttlist::appendEnumeration(const TStringPtr<unsigned short>& value)
{
    if (!m_enumeration)
        m_enumeration = new LinkList<Utf16String>();
    m_enumeration->add(new Utf16String(value));
}

} // namespace KILN
