#include "kazenohawakati/LineReader.h"

#include "kiln/base/Exception.h"

#include <cstring>

LineReader::LineReader(KILN::IFlow& source) : m_source(source), m_block(new char[BlockBytes]) {}

bool LineReader::readLine(KILN::TString<char>& line)
{
    line.clear();
    for (;;) {
        if (m_next == m_filled && !fill())
            return !line.isEmpty();
        const char* const begin = m_block.get() + m_next;
        const auto* const feed = static_cast<const char*>(std::memchr(begin, '\n', m_filled - m_next));
        const uint32_t count = feed ? static_cast<uint32_t>(feed - begin) + 1 : m_filled - m_next;
        if (count > MaxLineBytes - line.length())
            throw LineTooLong();
        line.append(begin, count);
        m_next += count;
        if (feed)
            return true;
    }
}

bool LineReader::fill()
{
    m_next = 0;
    m_filled = 0;
    if (m_ended)
        return false;
    try {
        m_source.readBlock(BlockBytes, m_block.get(), m_filled);
    } catch (const KILN::IOException& e) {
        if (e.code() != KILN::IOException::EndOfInput)
            throw;
        // The units before the end still count.
        m_ended = true;
    }
    return m_filled > 0;
}
