#include "kiln/file/OutputFile.h"

#include <sys/stat.h>

namespace KILN {

namespace {

// True when the path names something that exists and is not a regular file,
// links followed.
bool isSpecial(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

} // namespace

OutputFile::OutputFile(const std::string& nativePath)
    : m_path(nativePath)
    , m_replacing(nativePath)
{
}

OutputFile::~OutputFile()
{
    if (m_direct)
        std::fclose(m_direct);
}

bool OutputFile::open()
{
    if (m_direct || m_replacing.stream())
        return false;
    if (!isSpecial(m_path))
        return m_replacing.open();
    m_direct = std::fopen(m_path.c_str(), "wb");
    return m_direct != nullptr;
}

std::FILE* OutputFile::stream() const
{
    return m_direct ? m_direct : m_replacing.stream();
}

bool OutputFile::commit()
{
    if (!m_direct)
        return m_replacing.commit();
    const bool flushed = std::fflush(m_direct) == 0;
    const bool closed = std::fclose(m_direct) == 0;
    m_direct = nullptr;
    return flushed && closed;
}

} // namespace KILN
