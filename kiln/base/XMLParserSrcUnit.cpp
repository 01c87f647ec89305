#include "kiln/base/XMLParserSrcUnit.h"

#include <cstring>
#include <utility>

namespace KILN {

namespace {

// The owned text given back at a time: a megabyte, so that the system calls
// stay few and the text read but not given back stays small.
constexpr uint32_t ReleaseStep = 512 * 1024;
// Units kept before the cursor when text is given back, for an excerpt.
constexpr uint32_t KeptBehind = 64;

} // namespace

XMLParserSrcUnit::XMLParserSrcUnit(const char* name, const unsigned short* text, uint32_t length)
    : cursor(text), end(text + length), m_releaseMark(end), m_isEntity(std::strcmp(name, "ENTITY") == 0),
      m_counted(length > 0 && *text == 0xFEFF ? text + 1 : text), m_kept(text)
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
    countUpTo(cursor);
    if (static_cast<uint32_t>(cursor - m_kept) > KeptBehind)
        m_kept = cursor - KeptBehind;
    m_ownedText.releaseBefore(m_kept);
    m_releaseMark = static_cast<uint32_t>(end - cursor) > ReleaseStep ? cursor + ReleaseStep : end;
}

void XMLParserSrcUnit::countUpTo(const unsigned short* p)
{
    if (p > m_counted) {
        advancePosition(m_countedPosition, m_counted, p);
        m_counted = p;
    }
}

XMLSourcePosition XMLParserSrcUnit::position()
{
    countUpTo(cursor);
    return m_countedPosition;
}

Utf16String XMLParserSrcUnit::excerpt() const
{
    return excerptAround(m_kept, cursor, end);
}

} // namespace KILN
