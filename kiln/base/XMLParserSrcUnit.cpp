#include "kiln/base/XMLParserSrcUnit.h"

#include <cstring>
#include <utility>

namespace KILN {

XMLParserSrcUnit::XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length)
    : cursor(text), end(text + length), m_isEntity(std::strcmp(name, "ENTITY") == 0)
{
    while (*name)
        m_name.append(static_cast<unsigned short>(static_cast<unsigned char>(*name++)));
}

XMLParserSrcUnit::XMLParserSrcUnit(const char* name, Utf16String&& text)
    : XMLParserSrcUnit(name, nullptr, 0)
{
    m_ownedText = new Utf16String(std::move(text));
    cursor = m_ownedText->data();
    end = cursor + m_ownedText->length();
}

XMLParserSrcUnit::~XMLParserSrcUnit()
{
    delete m_ownedText;
}

} // namespace KILN
