#include "kiln/file/FileOFlow.h"

#include "kiln/base/Exception.h"
#include "kiln/file/NativePath.h"

#include <bit>

namespace KILN {

namespace {
constexpr const char* Module = "kiln/file/FileOFlow";
}

// Units go to the file in machine order, which must be little-endian.
static_assert(std::endian::native == std::endian::little);

FileOFlow::FileOFlow(const char* utf8Path) : FileOFlow(std::fopen(utf8Path, "wb"), false) {}

FileOFlow::FileOFlow(const TStringPtr<unsigned short>& path) : FileOFlow(openNativePath(path, "wb"), false) {}

FileOFlow::FileOFlow(std::FILE* file, bool lent) : OFlow(AllWidths, file != nullptr), m_file(file), m_lent(lent) {}

FileOFlow::~FileOFlow()
{
    release();
}

bool FileOFlow::release()
{
    if (!OFlow::close())
        return true;
    const int failed = m_lent ? std::fflush(m_file) : std::fclose(m_file);
    m_file = nullptr;
    return failed == 0;
}

bool FileOFlow::close()
{
    if (!m_open)
        return false;
    if (!release())
        throw IOException(Module, __LINE__, IOException::FileError);
    return true;
}

std::FILE* FileOFlow::checkedFile()
{
    if (!m_file)
        throw IOException(Module, __LINE__, IOException::NotOpen);
    return m_file;
}

void FileOFlow::flush()
{
    if (std::fflush(checkedFile()) != 0)
        throw IOException(Module, __LINE__, IOException::FileError);
}

template <class U>
void FileOFlow::putBlock(uint32_t count, const U* src, uint32_t& written)
{
    written = 0;
    std::FILE* file = checkedFile();
    m_fresh = false;
    written = static_cast<uint32_t>(std::fwrite(src, sizeof(U), count, file));
    if (written < count)
        throw IOException(Module, __LINE__, IOException::ShortWrite);
}

template <class U>
void FileOFlow::put(U unit)
{
    uint32_t written;
    putBlock(1, &unit, written);
}

void FileOFlow::write8(uint8_t unit) { put(unit); }
void FileOFlow::write16(uint16_t unit) { put(unit); }
void FileOFlow::write32(uint32_t unit) { put(unit); }

void FileOFlow::writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) { putBlock(count, src, written); }
void FileOFlow::writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) { putBlock(count, src, written); }
void FileOFlow::writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) { putBlock(count, src, written); }

} // namespace KILN
