#include "kiln/base/DtdAttlist.h"

#include "kiln/base/Iterator.h"
#include "kiln/base/XMLOutputter.h"

#include <memory>

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

void DtdAttlist::output(XMLOutputter& outputter) const
{
    static const char* const typeKeywords[] = {"CDATA", "ID", "IDREF", "IDREFS", "NMTOKEN", "NMTOKENS", "ENTITY", "ENTITIES", "NOTATION"};
    if (m_firstOfList) {
        outputter.writeAscii("<!ATTLIST ");
        outputter.writeName(getParentNode() ? getParentNode()->getNodeName() : nullptr);
    }
    outputter.put(' ');
    outputter.write(*getNodeName());
    outputter.put(' ');
    if (m_attType >= CDATA && m_attType <= NOTATION)
        outputter.writeAscii(typeKeywords[m_attType - CDATA]);
    if (m_attType == NOTATION)
        outputter.put(' ');
    if ((m_attType == NOTATION || m_attType == ENUMERATION) && m_enumeration) {
        outputter.put('(');
        const std::unique_ptr<Iterator<Utf16String>> it(m_enumeration->iterator());
        for (bool first = true; it->hasNext(); first = false) {
            if (!first)
                outputter.writeAscii(" |");
            outputter.write(*it->next());
        }
        outputter.put(')');
    }
    outputter.put(' ');
    switch (m_defaultKind) {
    case REQUIRED:
        outputter.writeAscii("#REQUIRED");
        break;
    case IMPLIED:
        outputter.writeAscii("#IMPLIED");
        break;
    case FIXED:
        outputter.writeAscii("#FIXED ");
        [[fallthrough]];
    case VALUE:
        // An attribute value: escaped as in a start tag.
        outputter.put('"');
        if (m_defaultValue)
            outputter.writeEscaped(*m_defaultValue);
        outputter.put('"');
        break;
    default:
        break;
    }
    if (m_lastOfList)
        outputter.writeAscii(" >");
}

} // namespace KILN
