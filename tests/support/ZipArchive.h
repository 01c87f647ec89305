#pragma once

// Builds and reads ZIP archives for tests through minizip: EPUBs from folders,
// and hand-made hostile archives (odd names, symbolic-link entries, wrong
// checksums) that no ordinary packer would write.

#include <unzip.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zef::test {

struct ZipEntry {
    ZipEntry(std::string entryName, std::string entryData, bool storedEntry = false)
        : name(std::move(entryName)), data(std::move(entryData)), stored(storedEntry)
    {
    }

    std::string name;
    std::string data;
    // Stored (method 0) instead of deflated.
    bool stored = false;
    // A checksum written instead of the data's own.
    std::optional<uint32_t> crc;
    // The Unix file type and permissions kept in the external attributes.
    uint32_t unixMode = 0100644;
};

inline std::string fileContent(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        throw std::runtime_error("cannot create " + path.string());
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info{};
        info.external_fa = static_cast<uLong>(entry.unixMode) << 16;
        const bool ascii = std::all_of(entry.name.begin(), entry.name.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        const bool raw = entry.crc.has_value();
        const int method = entry.stored || raw ? 0 : Z_DEFLATED;
        const uLong madeByUnix = (3u << 8) | 20u;
        int answer = zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                             method ? Z_DEFAULT_COMPRESSION : 0, raw ? 1 : 0, -MAX_WBITS,
                                             DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, madeByUnix,
                                             ascii ? 0 : 0x800, entry.data.size() >= 0xFFFFFFFFu);
        for (size_t at = 0; answer == ZIP_OK && at < entry.data.size(); at += 1 << 20) {
            const size_t piece = std::min<size_t>(1 << 20, entry.data.size() - at);
            answer = zipWriteInFileInZip(zip, entry.data.data() + at, static_cast<unsigned>(piece));
        }
        if (answer == ZIP_OK)
            answer = raw ? zipCloseFileInZipRaw64(zip, entry.data.size(), *entry.crc) : zipCloseFileInZip(zip);
        if (answer != ZIP_OK) {
            zipClose(zip, nullptr);
            throw std::runtime_error("cannot write " + entry.name + " into " + path.string());
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK)
        throw std::runtime_error("cannot close " + path.string());
}

// The files below folder as EPUB entries: "mimetype" first and stored, then
// every other file in name order, deflated.
inline std::vector<ZipEntry> epubEntries(const std::filesystem::path& folder)
{
    std::vector<ZipEntry> entries;
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::recursive_directory_iterator(folder)) {
        if (file.is_regular_file())
            names.push_back(file.path().lexically_relative(folder).generic_string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        ZipEntry entry{name, fileContent(folder / name)};
        entry.stored = name == "mimetype";
        entries.insert(entry.stored ? entries.begin() : entries.end(), entry);
    }
    return entries;
}

inline void packEpubFolder(const std::filesystem::path& folder, const std::filesystem::path& epub)
{
    writeZip(epub, epubEntries(folder));
}

struct ZipContent {
    std::string name;
    std::string data;
    int method = 0;
    // The language-encoding flag (UTF-8 name) is set.
    bool utf8Flag = false;
};

// Every entry of the archive, in archive order; throws when it cannot be read.
inline std::vector<ZipContent> readZip(const std::filesystem::path& path)
{
    unzFile zip = unzOpen64(path.c_str());
    if (!zip)
        throw std::runtime_error("cannot open " + path.string());
    std::vector<ZipContent> entries;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[4096];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK
            || unzOpenCurrentFile(zip) != UNZ_OK) {
            unzClose(zip);
            throw std::runtime_error("cannot read an entry of " + path.string());
        }
        ZipContent entry{name, std::string(info.uncompressed_size, '\0'), static_cast<int>(info.compression_method),
                         (info.flag & 0x800) != 0};
        const int got = entry.data.empty() ? 0 : unzReadCurrentFile(zip, entry.data.data(), static_cast<unsigned>(entry.data.size()));
        const bool ok = got == static_cast<int>(entry.data.size()) && unzCloseCurrentFile(zip) == UNZ_OK;
        if (!ok) {
            unzClose(zip);
            throw std::runtime_error("bad entry " + entry.name + " in " + path.string());
        }
        entries.push_back(std::move(entry));
    }
    unzClose(zip);
    return entries;
}

} // namespace zef::test
