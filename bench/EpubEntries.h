#pragma once

// The XHTML entries of an EPUB, for benchmarks that read a real book.

#include <unzip.h>

#include <functional>
#include <string>

// Calls take with the content of every XHTML entry, in archive order; false
// when the archive cannot be opened or an entry cannot be read.
inline bool forEachXhtml(const char* path, const std::function<void(const std::string&)>& take)
{
    unzFile zip = unzOpen(path);
    if (!zip)
        return false;
    bool ok = true;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) {
            ok = false;
            break;
        }
        const std::string entry(name);
        if (entry.size() < 6 || entry.compare(entry.size() - 6, 6, ".xhtml") != 0)
            continue;
        if (unzOpenCurrentFile(zip) != UNZ_OK) {
            ok = false;
            break;
        }
        std::string xhtml(info.uncompressed_size, '\0');
        const int got = unzReadCurrentFile(zip, xhtml.data(), static_cast<unsigned>(xhtml.size()));
        unzCloseCurrentFile(zip);
        if (got > 0)
            take(xhtml.substr(0, static_cast<size_t>(got)));
    }
    unzClose(zip);
    return ok;
}
