#include "zef/ProgressLine.h"

#include <unistd.h>

ProgressLine::ProgressLine(std::FILE* stream) : m_stream(stream), m_terminal(isatty(fileno(stream)) == 1) {}

ProgressLine::~ProgressLine()
{
    documentsDone();
}

void ProgressLine::documentStarted(uint32_t number, uint32_t count)
{
    if (!m_terminal)
        return;
    std::fprintf(m_stream, "\rcontent document %u of %u", number, count);
    std::fflush(m_stream);
    m_shown = true;
}

void ProgressLine::documentsDone()
{
    if (!m_shown)
        return;
    // Back to the start of the line and erase it.
    std::fputs("\r\033[K", m_stream);
    std::fflush(m_stream);
    m_shown = false;
}
