#pragma once

#include "kiln/base/IFlow.h"
#include "kiln/base/TStringPtr.h"

#include <cstdio>

namespace KILN {

// An input flow over a file of the runtime library. It carries every width:
// 16- and 32-bit units are assembled from 2 or 4 bytes in little-endian order.
// The end of the file raises code 1, a read error code 8.
class FileIFlow : public IFlow {
public:
    // Opens the file named by a UTF-8 path for binary reading; the flow stays
    // closed when that fails.
    explicit FileIFlow(const char* utf8Path);
    // The same for a UTF-16 path (such as a PathString); a path without a
    // native name (a lone surrogate, a zero unit) leaves the flow closed.
    explicit FileIFlow(const TStringPtr<unsigned short>& path);
    // Reads an open file; a lent file (such as standard input) is left open by
    // close and destruction.
    FileIFlow(std::FILE* file, bool lent);
    FileIFlow(const FileIFlow&) = delete;
    FileIFlow& operator=(const FileIFlow&) = delete;
    ~FileIFlow() override;

    bool close() override;

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;
    void readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) override;
    void readSome8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readSome16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readSome32(uint32_t count, uint32_t* dest, uint32_t& got) override;

private:
    std::FILE* checkedFile();
    // Raises code 8 after a read error, else code 1.
    [[noreturn]] void failRead();
    template <class U>
    U next();
    template <class U>
    void nextBlock(uint32_t count, U* dest, uint32_t& got, bool raiseAtEnd);

    std::FILE* m_file;
    bool m_lent;
};

} // namespace KILN
