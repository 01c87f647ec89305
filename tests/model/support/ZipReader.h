#pragma once

// Reads back every entry of an archive with minizip's reader (which checks
// each entry's CRC), for tests that inspect what was packed.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unzip.h>

namespace zef::test {

struct ZipEntry {
    std::string name;
    unsigned long method = 0;
    unsigned long flag = 0;
    unsigned long dosDate = 0;
    std::string content;
};

inline std::vector<ZipEntry> readZip(const std::filesystem::path& file)
{
    std::vector<ZipEntry> entries;
    unzFile zip = unzOpen64(file.c_str());
    EXPECT_NE(zip, nullptr) << file;
    if (!zip)
        return entries;
    for (int answer = unzGoToFirstFile(zip); answer == UNZ_OK; answer = unzGoToNextFile(zip)) {
        unz_file_info64 info;
        char name[4096];
        EXPECT_EQ(unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0), UNZ_OK);
        ZipEntry entry{std::string(name, info.size_filename), info.compression_method, info.flag, info.dosDate, ""};
        EXPECT_EQ(unzOpenCurrentFile(zip), UNZ_OK);
        char buffer[8192];
        int got;
        while ((got = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            entry.content.append(buffer, static_cast<size_t>(got));
        EXPECT_EQ(got, 0) << entry.name;
        EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK) << entry.name;
        entries.push_back(entry);
    }
    unzClose(zip);
    return entries;
}

} // namespace zef::test
