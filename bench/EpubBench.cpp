// Measures the converter on a large book: the corpus novel (or the project's
// sample book when the corpus is absent) with its content documents repeated
// until they hold about 10 MB of text (or the megabytes given as the first
// argument). Times `zef -a` on it, `zef` (post-process) on the result, and
// `mecab -Owakati` on the same text, each the best of three runs, and prints
// the throughputs and ratios: pre-process against MeCab alone, post-process
// against pre-process.

#include "BestTime.h"
#include "BodyText.h"
#include "RunConditions.h"
#include "tests/support/Program.h"
#include "tests/support/ZipArchive.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using zef::test::ZipEntry;

namespace {

struct ManifestItem {
    std::string href;
    std::string mediaType;
    std::string properties;
};

std::string attribute(const std::string& tag, const char* name)
{
    const std::regex pattern(std::string("\\s") + name + "=\"([^\"]*)\"");
    std::smatch match;
    return std::regex_search(tag, match, pattern) ? match[1].str() : std::string();
}

std::vector<ManifestItem> manifestItems(const std::string& opf)
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
std::vector<ZipEntry> enlargedBook(std::vector<ZipEntry> entries, size_t targetBytes, std::string& text)
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

} // namespace

int main(int argc, char** argv)
{
    printRunConditions(firstLineOf(MECAB_PROGRAM " -v"));
    const double targetMegabytes = argc > 1 ? std::atof(argv[1]) : 10;
    const fs::path novel = ZEF_CORPUS_DIR "/kusamakura.epub";
    const fs::path source = fs::exists(novel) ? novel : fs::path(ZEF_SOURCE_DIR "/doc/sample.epub");
    std::vector<ZipEntry> entries;
    for (zef::test::ZipContent& content : zef::test::readZip(source))
        entries.push_back({content.name, content.data, content.name == "mimetype"});
    std::string text;
    entries = enlargedBook(std::move(entries), static_cast<size_t>(targetMegabytes * 1024 * 1024), text);
    if (entries.empty()) {
        std::fprintf(stderr, "%s: no content documents to repeat\n", source.c_str());
        return 1;
    }

    char folderPattern[] = "/tmp/epub_bench.XXXXXX";
    if (!mkdtemp(folderPattern))
        return 1;
    const fs::path folder = folderPattern;
    const fs::path book = folder / "book.epub";
    const fs::path pre = folder / "pre.epub";
    const fs::path post = folder / "post.epub";
    const fs::path textFile = folder / "text.txt";
    zef::test::writeZip(book, entries);
    std::FILE* out = std::fopen(textFile.c_str(), "wb");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0)
        return 1;

    bool succeeded = true;
    auto timed = [&](const std::string& program, std::vector<std::string> arguments) {
        zef::test::ProgramRun run{std::move(arguments), "", "/dev/null", {"TMPDIR=" + folder.string()}, 3600};
        return bestSeconds([&] {
            const zef::test::ProgramResult r = zef::test::runProgram(program, run, folder);
            if (r.status != 0) {
                std::fprintf(stderr, "%s failed: %s", program.c_str(), r.err.c_str());
                succeeded = false;
            }
        });
    };
    const double mecab = timed(MECAB_PROGRAM, {"-Owakati", textFile.string()});
    const double preSeconds = timed(ZEF_PROGRAM, {"-a", book.string(), pre.string()});
    const double postSeconds = timed(ZEF_PROGRAM, {pre.string(), post.string()});
    const double megabytes = static_cast<double>(text.size()) / (1024 * 1024);
    std::printf("book: %s, %zu entries, %.1f MB of text, %.1f MB packed\n", source.filename().c_str(), entries.size(),
                megabytes, static_cast<double>(fs::file_size(book)) / (1024 * 1024));
    if (!std::getenv("EPUB_BENCH_KEEP"))
        fs::remove_all(folder);
    if (!succeeded)
        return 1;
    std::printf("mecab -Owakati:   %7.2f s  %6.2f MB/s\n", mecab, megabytes / mecab);
    std::printf("zef -a (pre):     %7.2f s  %6.2f MB/s  MeCab's time / pre-process time %.2f\n", preSeconds,
                megabytes / preSeconds, mecab / preSeconds);
    std::printf("zef (post):       %7.2f s  %6.2f MB/s  post-process time / pre-process time %.2f\n", postSeconds,
                megabytes / postSeconds, postSeconds / preSeconds);
    return 0;
}
