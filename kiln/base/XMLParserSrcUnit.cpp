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

XMLParserSrcUnit::XMLParserSrcUnit(const char* name, OwnedUnits text, uint32_t length)
    : XMLParserSrcUnit(name, text.get(), length)
{
    m_ownedText = std::move(text);
}

} // namespace KILN
