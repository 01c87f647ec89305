#include "kiln/base/XMLParserSrcUnit.h"

#include <cstring>
#include <utility>

namespace KILN {

namespace {

// The owned text given back at a time: a megabyte, so that the system calls
// stay few and the text read but not given back stays small.
constexpr uint32_t ReleaseStep = 512 * 1024;

} // namespace

XMLParserSrcUnit::XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length)
    : cursor(text), end(text + length), m_releaseMark(end), m_isEntity(std::strcmp(name, "ENTITY") == 0)
{
    while (*name)
        m_name.append(static_cast<unsigned short>(static_cast<unsigned char>(*name++)));
}

XMLParserSrcUnit::XMLParserSrcUnit(const char* name, MappedUnits text, uint32_t length)
    : XMLParserSrcUnit(name, text.data(), length)
{
    m_ownedText = std::move(text);
    releaseRead();
}

void XMLParserSrcUnit::releaseRead()
{
    m_ownedText.releaseBefore(cursor);
    m_releaseMark = static_cast<uint32_t>(end - cursor) > ReleaseStep ? cursor + ReleaseStep : end;
}

} // namespace KILN
