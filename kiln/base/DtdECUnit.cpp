#include "kiln/base/DtdECUnit.h"

namespace KILN {

DtdECUnit::~DtdECUnit()
{
    delete m_name;
    if (m_children) {
        while (DtdECUnit* child = m_children->removeFirst())
            delete child;
        delete m_children;
    }
}

void DtdECUnit::setName(const TStringPtr<unsigned short>& name)
{
    delete m_name;
    m_name = new Utf16String(name);
}

void DtdECUnit::appendChild(DtdECUnit* child)
{
    if (!m_children)
        m_children = new LinkList<DtdECUnit>();
    m_children->add(child);
}

} // namespace KILN
