#pragma once

// A large book for benchmarks: the corpus novel, or the project's sample
// book when the corpus is absent, with its content documents repeated.

#include "BodyText.h"
#include "tests/support/ZipArchive.h"

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace bench {

using zef::test::ZipEntry;

// The corpus novel, or the sample book without the corpus.
inline std::filesystem::path sourceBook()
{
    const std::filesystem::path novel = ZEF_CORPUS_DIR "/kusamakura.epub";
    return std::filesystem::exists(novel) ? novel : std::filesystem::path(ZEF_SOURCE_DIR "/doc/sample.epub");
}

struct ManifestItem {
    std::string href;
    std::string mediaType;
    std::string properties;
};

inline std::string attribute(const std::string& tag, const char* name)
{
    const std::regex pattern(std::string("\\s") + name + "=\"([^\"]*)\"");
    std::smatch match;
    return std::regex_search(tag, match, pattern) ? match[1].str() : std::string();
}

inline std::vector<ManifestItem> manifestItems(const std::string& opf)
{
    std::vector<ManifestItem> items;
    const std::regex item("<item\\s[^>]*>");
    for (auto it = std::sregex_iterator(opf.begin(), opf.end(), item); it != std::sregex_iterator(); ++it) {
        const std::string tag = it->str();
        items.push_back({attribute(tag, "href"), attribute(tag, "media-type"), attribute(tag, "properties")});
    }
    return items;
}

// The book with its content documents copied until their text reaches
// targetBytes; the copies go beside the originals and join manifest and spine.
// The text of all content documents is appended to text.
inline std::vector<ZipEntry> enlargedBook(std::vector<ZipEntry> entries, size_t targetBytes, std::string& text)
{
    const std::string container = [&] {
        for (const ZipEntry& entry : entries)
            if (entry.name == "META-INF/container.xml")
                return entry.data;
        return std::string();
    }();
    const std::string opfPath = attribute(container, "full-path");
    // An index, not a pointer: the copies appended below move the entries.
    size_t opf = entries.size();
    for (size_t i = 0; i < entries.size(); ++i)
        opf = entries[i].name == opfPath ? i : opf;
    if (opf == entries.size())
        return {};
    const std::string opfFolder = opfPath.find('/') == std::string::npos ? "" : opfPath.substr(0, opfPath.rfind('/') + 1);

    std::vector<std::pair<std::string, std::string>> documents; // href, content
    for (const ManifestItem& item : manifestItems(entries[opf].data)) {
        if (item.mediaType != "application/xhtml+xml" || item.properties.find("nav") != std::string::npos)
            continue;
        for (const ZipEntry& entry : entries)
            if (entry.name == opfFolder + item.href)
                documents.push_back({item.href, entry.data});
    }
    std::string unit;
    for (const auto& document : documents)
        unit += bodyText(document.second);
    if (unit.empty())
        return {};
    std::string items;
    std::string itemrefs;
    text = unit;
    for (int copy = 1; text.size() < targetBytes; ++copy) {
        for (size_t i = 0; i < documents.size(); ++i) {
            const std::string& href = documents[i].first;
            const size_t slash = href.rfind('/') + 1;
            const std::string copyHref = href.substr(0, slash) + "copy" + std::to_string(copy) + "-" + href.substr(slash);
            const std::string id = "copy" + std::to_string(copy) + "-" + std::to_string(i);
            entries.push_back({opfFolder + copyHref, documents[i].second});
            items += "<item id=\"" + id + "\" href=\"" + copyHref + "\" media-type=\"application/xhtml+xml\"/>\n";
            itemrefs += "<itemref idref=\"" + id + "\"/>\n";
        }
        text += unit;
    }
    std::string& package = entries[opf].data;
    package.insert(package.find("</manifest>"), items);
    package.insert(package.find("</spine>"), itemrefs);
    return entries;
}

// The book at source enlarged as above; empty when it has no content
// documents to repeat.
inline std::vector<ZipEntry> enlargedBook(const std::filesystem::path& source, size_t targetBytes, std::string& text)
{
    std::vector<ZipEntry> entries;
    for (zef::test::ZipContent& content : zef::test::readZip(source))
        entries.push_back({content.name, content.data, content.name == "mimetype"});
    return enlargedBook(std::move(entries), targetBytes, text);
}

} // namespace bench
