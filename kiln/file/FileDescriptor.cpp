#include "kiln/file/FileDescriptor.h"

#include <unistd.h>

namespace KILN {

void FileDescriptor::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

int FileDescriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool FileDescriptor::close()
{
    const int fd = release();
    return fd >= 0 && ::close(fd) == 0;
}

} // namespace KILN
