#include "kiln/file/FileIFlow.h"

#include "kiln/base/Exception.h"
#include "kiln/file/NativePath.h"

#include <bit>

namespace KILN {

namespace {
constexpr const char* Module = "kiln/file/FileIFlow";
}

// Block reads take units straight from the file in machine order, which must
// be the little-endian order of the single-unit reads.
static_assert(std::endian::native == std::endian::little);

FileIFlow::FileIFlow(const char* utf8Path) : FileIFlow(std::fopen(utf8Path, "rb"), false) {}

FileIFlow::FileIFlow(const TStringPtr<unsigned short>& path) : FileIFlow(openNativePath(path, "rb"), false) {}

FileIFlow::FileIFlow(std::FILE* file, bool lent) : IFlow(AllWidths, file != nullptr), m_file(file), m_lent(lent) {}

FileIFlow::~FileIFlow()
{
    close();
}

bool FileIFlow::close()
{
    if (!IFlow::close())
        return false;
    if (!m_lent)
        std::fclose(m_file);
    m_file = nullptr;
    return true;
}

std::FILE* FileIFlow::checkedFile()
{
    if (!m_file)
        throw IOException(Module, __LINE__, IOException::NotOpen);
    m_fresh = false;
    return m_file;
}

void FileIFlow::failRead()
{
    if (std::ferror(m_file))
        throw IOException(Module, __LINE__, IOException::FileError);
    throw IOException(Module, __LINE__, IOException::EndOfInput);
}

// The programs are single-threaded, so the unlocked byte read serves.
template <class U>
U FileIFlow::next()
{
    std::FILE* file = checkedFile();
    U unit = 0;
    for (unsigned i = 0; i < sizeof(U); ++i) {
        const int byte = getc_unlocked(file);
        if (byte == EOF)
            failRead();
        unit = static_cast<U>(unit | static_cast<U>(byte) << (8 * i));
    }
    return unit;
}

// A short block raises code 8 after a read error, else code 1 when raiseAtEnd.
template <class U>
void FileIFlow::nextBlock(uint32_t count, U* dest, uint32_t& got, bool raiseAtEnd)
{
    got = 0;
    std::FILE* file = checkedFile();
    got = static_cast<uint32_t>(std::fread(dest, sizeof(U), count, file));
    if (got < count && (raiseAtEnd || std::ferror(file)))
        failRead();
}

uint8_t FileIFlow::read8() { return next<uint8_t>(); }
uint16_t FileIFlow::read16() { return next<uint16_t>(); }
uint32_t FileIFlow::read32() { return next<uint32_t>(); }

void FileIFlow::readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
void FileIFlow::readSome8(uint32_t count, uint8_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }
void FileIFlow::readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
void FileIFlow::readSome16(uint32_t count, uint16_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }
void FileIFlow::readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) { nextBlock(count, dest, got, true); }
void FileIFlow::readSome32(uint32_t count, uint32_t* dest, uint32_t& got) { nextBlock(count, dest, got, false); }

} // namespace KILN
