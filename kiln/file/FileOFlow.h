#pragma once

#include "kiln/base/OFlow.h"
#include "kiln/base/TStringPtr.h"

#include <cstdio>

namespace KILN {

// An output flow into a file of the runtime library; it carries every width
// and writes 16- and 32-bit units in little-endian order. A short write raises
// code 2, a failed flush code 8.
class FileOFlow : public OFlow {
public:
    // Creates or truncates the file named by a UTF-8 path for binary writing;
    // the flow stays closed when that fails.
    explicit FileOFlow(const char* utf8Path);
    // The same for a UTF-16 path (such as a PathString); a path without a
    // native name (a lone surrogate, a zero unit) leaves the flow closed.
    explicit FileOFlow(const TStringPtr<unsigned short>& path);
    // Writes to an open file; a lent file (such as standard output) is flushed
    // but left open by close and destruction.
    FileOFlow(std::FILE* file, bool lent);
    FileOFlow(const FileOFlow&) = delete;
    FileOFlow& operator=(const FileOFlow&) = delete;
    // Closes without reporting: call close to learn whether the data reached
    // the file.
    ~FileOFlow() override;

    // Closes (or, when lent, flushes) the file; code 8 when buffered data
    // could not be written, which the file is released anyway.
    bool close() override;
    void flush() override;

    void write8(uint8_t unit) override;
    void write16(uint16_t unit) override;
    void write32(uint32_t unit) override;
    void writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) override;
    void writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) override;
    void writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) override;

private:
    std::FILE* checkedFile();
    // Detaches the file; false when closing or flushing it failed.
    bool release();
    template <class U>
    void put(U unit);
    template <class U>
    void putBlock(uint32_t count, const U* src, uint32_t& written);

    std::FILE* m_file;
    bool m_lent;
};

} // namespace KILN
