#pragma once

namespace KILN {

// Owns a descriptor of the system's file interface and closes it when it goes
// out of scope, so that no path out of a function leaks one. A negative
// value stands for no descriptor.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(-1); }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes the descriptor held and takes fd instead.
    void reset(int fd);
    // Hands the descriptor over to the caller, who closes it.
    int release();
    // Closes the descriptor; false when the system reports a failure (such
    // as data that could not be written) or none was held.
    bool close();

private:
    int m_fd;
};

} // namespace KILN
