#include "kiln/base/XMLParserSrcUnit.h"

#include <cstdlib>
#include <cstring>

namespace KILN {

XMLParserSrcUnit::XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length, bool owns)
    : cursor(text), end(text + length), m_text(text), m_owns(owns), m_isEntity(std::strcmp(name, "ENTITY") == 0)
{
    while (*name)
        m_name.append(static_cast<unsigned short>(static_cast<unsigned char>(*name++)));
}

XMLParserSrcUnit::~XMLParserSrcUnit()
{
    if (m_owns)
        std::free(const_cast<unsigned short*>(m_text));
}

} // namespace KILN
