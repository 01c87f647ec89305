#include "kiln/file/OverwrittenFile.h"

#include "kiln/file/FileDescriptor.h"
#include "kiln/file/NativePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KILN {

OverwrittenFile::OverwrittenFile(const TStringPtr<unsigned short>& path)
{
    if (!toNativePath(path, m_path))
        m_path.clear();
}

OverwrittenFile::~OverwrittenFile()
{
    if (m_stream)
        std::fclose(m_stream);
}

bool OverwrittenFile::open()
{
    if (m_path.empty() || m_stream)
        return false;
    // Written only once it is known to be a regular file; O_NONBLOCK keeps a
    // FIFO in the way from blocking the open.
    FileDescriptor file(::open(m_path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!file.isOpen() || fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    m_stream = fdopen(file.get(), "wb");
    if (m_stream)
        file.release();
    return m_stream != nullptr;
}

bool OverwrittenFile::commit()
{
    if (!m_stream)
        return false;
    bool written = std::fflush(m_stream) == 0;
    if (written) {
        // What is left of the old content lies beyond what was written.
        const off_t end = ftello(m_stream);
        written = end >= 0 && ftruncate(fileno(m_stream), end) == 0;
    }
    written = std::fclose(m_stream) == 0 && written;
    m_stream = nullptr;
    return written;
}

} // namespace KILN
