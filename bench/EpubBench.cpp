// Measures the converter on a large book: the corpus novel (or the project's
// sample book when the corpus is absent) with its content documents repeated
// until they hold about 10 MB of text (or the megabytes given as the first
// argument). Times `zef -a` on it and `zef` (post-process) on the result,
// each run followed by `mecab -Owakati` on the same text so that a busy
// machine disturbs both alike, and prints the least wall-clock and CPU time
// (user and system) of each over three rounds (EPUB_BENCH_ROUNDS sets
// another number), as ratios to MeCab's, and the pre-process against the
// post-process. MeCab's slowest run beside its fastest shows how much the
// machine itself varied while it ran. The same text is then made into a
// book of 20 documents and one of 2,000, and both passes on each are timed:
// the ratio 2,000 / 20 shows what each document costs beyond its text.
// A second argument names another zef program (e.g. an earlier build) to
// measure beside the one built here.

#include "EnlargedBook.h"
#include "RunConditions.h"
#include "tests/support/Program.h"
#include "tests/support/ZipArchive.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bench::enlargedBook;
using bench::sourceBook;
using zef::test::ZipEntry;

namespace {

constexpr int DefaultRounds = 3;
constexpr size_t FewDocuments = 20;
constexpr size_t ManyDocuments = 2000;

const char* const DocumentHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
                                 "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\"\n"
                                 "xml:lang=\"ja\" lang=\"ja\">\n"
                                 "<head>\n<meta charset=\"UTF-8\"/>\n<title>本文</title>\n</head>\n<body>\n";

// An XHTML document with a paragraph for every line of text.
std::string xhtmlDocument(const std::string& text)
{
    std::string document = DocumentHead;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        if (end > start)
            document += "<p>" + text.substr(start, end - start) + "</p>\n";
        start = end + 1;
    }
    return document + "</body>\n</html>\n";
}

// A book of count documents sharing text between them, cut at line ends into
// parts of about equal size.
std::vector<ZipEntry> documentsBook(const std::string& text, size_t count)
{
    std::vector<ZipEntry> documents;
    std::string items;
    std::string itemrefs;
    for (size_t i = 0, start = 0; i < count; ++i) {
        const size_t goal = std::max(text.size() * (i + 1) / count, start);
        const size_t end = i + 1 == count ? text.size() : std::min(text.find('\n', goal), text.size() - 1) + 1;
        const std::string id = "d" + std::to_string(i + 1);
        documents.push_back({"OPS/text/" + id + ".xhtml", xhtmlDocument(text.substr(start, end - start))});
        items += "<item id=\"" + id + "\" href=\"text/" + id + ".xhtml\" media-type=\"application/xhtml+xml\"/>\n";
        itemrefs += "<itemref idref=\"" + id + "\"/>\n";
        start = end;
    }
    std::vector<ZipEntry> entries = {
        {"mimetype", "application/epub+zip", true},
        {"META-INF/container.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
         "<rootfiles><rootfile full-path=\"OPS/package.opf\" media-type=\"application/oebps-package+xml\"/>"
         "</rootfiles>\n</container>\n"},
        {"OPS/package.opf",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" xml:lang=\"ja\" unique-identifier=\"id\">\n"
         "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
         "<dc:identifier id=\"id\">urn:uuid:0b6c3a52-7d1e-4f0a-9c3b-2e5d8f1a4c70</dc:identifier>\n"
         "<dc:title>本文</dc:title>\n<dc:language>ja</dc:language>\n"
         "<meta property=\"dcterms:modified\">2024-01-01T00:00:00Z</meta>\n</metadata>\n<manifest>\n"
         "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n" +
             items + "</manifest>\n<spine>\n" + itemrefs + "</spine>\n</package>\n"},
        {"OPS/nav.xhtml",
         DocumentHead + std::string("<nav epub:type=\"toc\"><ol><li><a href=\"text/d1.xhtml\">本文</a></li></ol></nav>\n"
                                    "</body>\n</html>\n")},
    };
    entries.insert(entries.end(), documents.begin(), documents.end());
    return entries;
}

struct Times {
    double wall = 1e300;
    double cpu = 1e300;
    double slowestWall = 0;
};

// A command the benchmark runs, and the least times of its runs.
struct TimedCommand {
    std::string program;
    std::vector<std::string> arguments;
    Times best;
};

// Runs command once in folder (also its TMPDIR), standard output to
// /dev/null, and keeps its times if they are the least; false when it fails.
bool runTimed(TimedCommand& command, const fs::path& folder)
{
    const zef::test::ProgramRun run{command.arguments, "", "/dev/null", {"TMPDIR=" + folder.string()}, 3600};
    const auto start = std::chrono::steady_clock::now();
    const zef::test::ProgramResult result = zef::test::runProgram(command.program, run, folder);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    if (result.status != 0) {
        std::fprintf(stderr, "%s failed: %s", command.program.c_str(), result.err.c_str());
        return false;
    }
    command.best.wall = std::min(command.best.wall, wall.count());
    command.best.slowestWall = std::max(command.best.slowestWall, wall.count());
    command.best.cpu = std::min(command.best.cpu, result.cpuSeconds);
    return true;
}

// A book both passes run on; the text of the one compared with MeCab is
// what MeCab reads.
struct Book {
    std::string label;
    fs::path path;
    bool againstMecab;
};

// The pre-process of every book by one zef program, then the post-process
// of its result: pre and post of books[i] are passes[2 * i] and [2 * i + 1].
struct ProgramPasses {
    std::string program;
    std::vector<TimedCommand> passes;
};

ProgramPasses passesOf(const std::string& program, size_t index, const std::vector<Book>& books, const fs::path& folder)
{
    ProgramPasses result{program, {}};
    for (size_t i = 0; i < books.size(); ++i) {
        const std::string stem = "zef" + std::to_string(index) + "-book" + std::to_string(i);
        const std::string pre = (folder / (stem + "-pre.epub")).string();
        result.passes.push_back({program, {"-a", books[i].path.string(), pre}, {}});
        result.passes.push_back({program, {pre, (folder / (stem + "-post.epub")).string()}, {}});
    }
    return result;
}

// A row of times, and of their ratios to reference's when there is one.
void printRow(const std::string& label, const Times& times, const Times* reference = nullptr)
{
    std::printf("  %-26s %8.2f %8.2f", label.c_str(), times.wall, times.cpu);
    if (reference)
        std::printf(" %10.2f %10.2f", times.wall / reference->wall, times.cpu / reference->cpu);
    std::printf("\n");
}

void printResults(const ProgramPasses& program, const std::vector<Book>& books, const Times& mecab)
{
    std::printf("%s\n  %-26s %8s %8s %10s %10s\n", program.program.c_str(), "", "wall s", "cpu s", "wall ratio",
                "cpu ratio");
    const std::vector<TimedCommand>& passes = program.passes;
    printRow("zef -a (pre) / MeCab", passes[0].best, &mecab);
    printRow("zef (post) / MeCab", passes[1].best, &mecab);
    printRow("pre / post", passes[0].best, &passes[1].best);
    for (size_t pass = 0; pass < 2; ++pass) {
        const std::string name = pass == 0 ? "pre, " : "post, ";
        for (size_t i = 1; i < books.size(); ++i)
            printRow(name + books[i].label, passes[2 * i + pass].best);
        printRow(name + books[2].label + " / " + books[1].label, passes[4 + pass].best, &passes[2 + pass].best);
    }
}

} // namespace

int main(int argc, char** argv)
{
    printRunConditions(firstLineOf(MECAB_PROGRAM " -v"));
    const char* threads = std::getenv("ZEF_THREADS");
    std::printf("threads: %s\n", threads ? (std::string("ZEF_THREADS=") + threads).c_str() : "ZEF_THREADS not set");
    const double targetMegabytes = argc > 1 ? std::atof(argv[1]) : 10;
    std::vector<std::string> programs = {ZEF_PROGRAM};
    if (argc > 2)
        programs.push_back(argv[2]);
    const fs::path source = sourceBook();
    std::string text;
    const std::vector<ZipEntry> entries = enlargedBook(source, static_cast<size_t>(targetMegabytes * 1024 * 1024), text);
    if (entries.empty()) {
        std::fprintf(stderr, "%s: no content documents to repeat\n", source.c_str());
        return 1;
    }

    char folderPattern[] = "/tmp/epub_bench.XXXXXX";
    if (!mkdtemp(folderPattern))
        return 1;
    const fs::path folder = folderPattern;
    const fs::path textFile = folder / "text.txt";
    const std::vector<Book> books = {{"book", folder / "book.epub", true},
                                     {std::to_string(FewDocuments) + " docs", folder / "few.epub", false},
                                     {std::to_string(ManyDocuments) + " docs", folder / "many.epub", false}};
    zef::test::writeZip(books[0].path, entries);
    zef::test::writeZip(books[1].path, documentsBook(text, FewDocuments));
    zef::test::writeZip(books[2].path, documentsBook(text, ManyDocuments));
    std::FILE* out = std::fopen(textFile.c_str(), "wb");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0)
        return 1;
    std::printf("book: %s, %zu entries, %.1f MB of text, %.1f MB packed\n", source.filename().c_str(), entries.size(),
                static_cast<double>(text.size()) / (1024 * 1024),
                static_cast<double>(fs::file_size(books[0].path)) / (1024 * 1024));
    std::fflush(stdout);

    TimedCommand mecab{MECAB_PROGRAM, {"-d", MECAB_DICTIONARY, "-Owakati", textFile.string()}, {}};
    std::vector<ProgramPasses> measured;
    for (size_t i = 0; i < programs.size(); ++i)
        measured.push_back(passesOf(programs[i], i, books, folder));
    bool succeeded = true;
    const char* roundsSetting = std::getenv("EPUB_BENCH_ROUNDS");
    const int rounds = roundsSetting && std::atoi(roundsSetting) > 0 ? std::atoi(roundsSetting) : DefaultRounds;
    for (int round = 0; round < rounds && succeeded; ++round)
        for (ProgramPasses& program : measured)
            for (size_t pass = 0; pass < program.passes.size() && succeeded; ++pass)
                succeeded = runTimed(program.passes[pass], folder) &&
                            (!books[pass / 2].againstMecab || runTimed(mecab, folder));
    if (!std::getenv("EPUB_BENCH_KEEP"))
        fs::remove_all(folder);
    if (!succeeded)
        return 1;
    std::printf("mecab -Owakati: %.2f s wall, %.2f s cpu (%d rounds; its slowest run took %.2f s wall)\n",
                mecab.best.wall, mecab.best.cpu, rounds, mecab.best.slowestWall);
    for (const ProgramPasses& program : measured)
        printResults(program, books, mecab.best);
    std::printf("load average at the end: %s\n", loadAverage().c_str());
    return 0;
}
