#pragma once

// Builds zip archives of a chosen shape with minizip's writer, hostile ones
// included (links, bad checksums, cut-off files), for tests that unpack them.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include <sys/stat.h>
#include <zip.h>
#include <zlib.h>

namespace zef::test {

class ZipBuilder {
public:
    explicit ZipBuilder(const std::filesystem::path& file) : m_zip(zipOpen64(file.c_str(), APPEND_STATUS_CREATE))
    {
        EXPECT_NE(m_zip, nullptr) << file;
    }
    ZipBuilder(const ZipBuilder&) = delete;
    ZipBuilder& operator=(const ZipBuilder&) = delete;
    ~ZipBuilder() { close(); }

    // A file entry; method is Z_DEFLATED or 0 (stored).
    ZipBuilder& addFile(const std::string& name, const std::string& content, int method = Z_DEFLATED)
    {
        open(name, method, 0, 0);
        write(content);
        EXPECT_EQ(zipCloseFileInZip(m_zip), ZIP_OK);
        return *this;
    }

    // A deflated file entry of size bytes, produced piece by piece by fill
    // (which writes up to the piece's size into the buffer), so that large
    // entries never sit in memory.
    ZipBuilder& addGenerated(const std::string& name, uint64_t size,
                             const std::function<void(char* piece, size_t length)>& fill)
    {
        open(name, Z_DEFLATED, 0, 0);
        std::string piece(1 << 16, '\0');
        for (uint64_t done = 0; done < size;) {
            const size_t length = static_cast<size_t>(std::min<uint64_t>(piece.size(), size - done));
            fill(piece.data(), length);
            write(piece.substr(0, length));
            done += length;
        }
        EXPECT_EQ(zipCloseFileInZip(m_zip), ZIP_OK);
        return *this;
    }

    // An entry written exactly as named, without data: with a trailing '/'
    // it is a directory entry.
    ZipBuilder& addRawName(const std::string& name)
    {
        open(name, 0, 0, 0);
        EXPECT_EQ(zipCloseFileInZip(m_zip), ZIP_OK);
        return *this;
    }

    // A symbolic link entry as a Unix archiver writes it: the link's mode in
    // the upper half of the external attributes, the target as the data.
    ZipBuilder& addSymlink(const std::string& name, const std::string& target)
    {
        open(name, 0, 3 << 8, static_cast<unsigned long>(S_IFLNK | 0777) << 16);
        write(target);
        EXPECT_EQ(zipCloseFileInZip(m_zip), ZIP_OK);
        return *this;
    }

    // A stored entry whose recorded CRC does not match its data.
    ZipBuilder& addFileWithBadCrc(const std::string& name, const std::string& content)
    {
        const uLong good = crc32(0, reinterpret_cast<const Bytef*>(content.data()), content.size());
        return addRaw(name, content, content.size(), static_cast<uint32_t>(good ^ 0x5A5A5A5A), 0);
    }

    // An entry of the given compressed bytes (a raw deflate stream, or the
    // data itself when method is 0), recording size and crc whatever the
    // bytes hold: damaged entries of every kind.
    ZipBuilder& addRaw(const std::string& name, const std::string& bytes, uint64_t size, uint32_t crc,
                       int method = Z_DEFLATED)
    {
        zip_fileinfo info = {};
        EXPECT_EQ(zipOpenNewFileInZip2_64(m_zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                          Z_DEFAULT_COMPRESSION, 1, 0),
                  ZIP_OK);
        write(bytes);
        EXPECT_EQ(zipCloseFileInZipRaw64(m_zip, size, crc), ZIP_OK);
        return *this;
    }

    // Writes the central directory; the archive is complete afterwards.
    void close()
    {
        if (m_zip) {
            EXPECT_EQ(zipClose(m_zip, nullptr), ZIP_OK);
        }
        m_zip = nullptr;
    }

    // Cuts an archive file down to its first size bytes.
    static void truncate(const std::filesystem::path& file, uintmax_t size)
    {
        std::filesystem::resize_file(file, size);
    }

private:
    void open(const std::string& name, int method, unsigned long versionMadeBy, unsigned long externalAttributes)
    {
        zip_fileinfo info = {};
        info.external_fa = externalAttributes;
        ASSERT_EQ(zipOpenNewFileInZip4_64(m_zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                          method == 0 ? 0 : Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                          Z_DEFAULT_STRATEGY, nullptr, 0, versionMadeBy, 0, 0),
                  ZIP_OK)
            << name;
    }

    void write(const std::string& data)
    {
        if (!data.empty()) {
            EXPECT_EQ(zipWriteInFileInZip(m_zip, data.data(), static_cast<unsigned>(data.size())), ZIP_OK);
        }
    }

    zipFile m_zip;
};

} // namespace zef::test
