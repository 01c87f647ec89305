#include "kiln/base/DtdECUnit.h"

#include "kiln/base/Iterator.h"
#include "kiln/base/XMLOutputter.h"

#include <memory>

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

void DtdECUnit::output(XMLOutputter& outputter) const
{
    switch (m_kind & KIND_MASK) {
    case EMPTY:
        outputter.writeAscii("EMPTY");
        break;
    case ANY:
        outputter.writeAscii("ANY");
        break;
    case PCDATA:
        outputter.writeAscii("#PCDATA");
        break;
    case NAME:
        outputter.writeName(m_name);
        break;
    case PCDATA_GROUP:
        outputGroup(outputter, nullptr);
        break;
    case MIXED:
        outputGroup(outputter, "|");
        outputter.put('*');
        break;
    case SEQUENCE:
        outputGroup(outputter, ",");
        break;
    case CHOICE:
        outputGroup(outputter, "|");
        break;
    default:
        break;
    }
    if (m_kind & OPTIONAL)
        outputter.put('?');
    else if (m_kind & ONE_OR_MORE)
        outputter.put('+');
    else if (m_kind & ZERO_OR_MORE)
        outputter.put('*');
}

void DtdECUnit::outputGroup(XMLOutputter& outputter, const char* separator) const
{
    outputter.put('(');
    if (m_children) {
        const std::unique_ptr<Iterator<DtdECUnit>> it(m_children->iterator());
        for (bool first = true; it->hasNext(); first = false) {
            if (!first && separator)
                outputter.writeAscii(separator);
            it->next()->output(outputter);
        }
    }
    outputter.put(')');
}

} // namespace KILN
