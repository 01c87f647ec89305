// A real book through pre-process and post-process without edits: every
// character of its text survives once the added ruby readings and word breaks
// are taken away, every other file comes back byte for byte under the same
// name, and EPUBCheck (when installed) finds no new kind of error or warning.

#include "tests/support/Corpus.h"
#include "tests/zef/BookText.h"
#include "tests/zef/ZefFixture.h"

#include <map>
#include <regex>

namespace {

using namespace zef::test;

const char* const EpubCheck = "/usr/share/java/epubcheck.jar";

// The kinds of message ("ERROR(RSC-005)", "WARNING(OPF-053)") EPUBCheck
// reports on a book.
std::set<std::string> epubCheckKinds(const fs::path& book, const fs::path& scratch)
{
    const ProgramResult r = runProgram("/usr/bin/java", {{"-jar", EpubCheck, book.string()}, "", "", {}, 600}, scratch);
    std::set<std::string> kinds;
    const std::string report = r.out + r.err;
    const std::regex kind(R"((ERROR|WARNING|FATAL)\([A-Z]+-[0-9]+\))");
    for (auto it = std::sregex_iterator(report.begin(), report.end(), kind); it != std::sregex_iterator(); ++it)
        kinds.insert(it->str());
    return kinds;
}

// The FNV-1a digest of a file's bytes.
uint64_t digest(const std::string& bytes)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    return hash;
}

class CorpusRoundTripTest : public ZefFixture {};

TEST_F(CorpusRoundTripTest, NovelKeepsItsTextAndFiles)
{
    const fs::path novel = corpusBook("kusamakura.epub");
    if (novel.empty())
        GTEST_SKIP() << "the corpus is absent";
    ProgramResult r = zef({"-a", novel.string(), path("pre.epub").string()});
    ASSERT_EQ(r.status, 0) << describe(r);
    r = zef({path("pre.epub").string(), path("final.epub").string()});
    ASSERT_EQ(r.status, 0) << describe(r);

    const std::vector<ZipContent> input = readZip(novel);
    const std::vector<ZipContent> output = readZip(path("final.epub"));
    std::map<std::string, std::string> outputFiles;
    for (const ZipContent& entry : output)
        outputFiles[entry.name] = entry.data;
    ASSERT_EQ(output.front().name, "mimetype");
    ASSERT_EQ(outputFiles.size(), input.size());
    int documents = 0;
    for (const ZipContent& entry : input) {
        ASSERT_TRUE(outputFiles.count(entry.name)) << entry.name;
        const std::string& converted = outputFiles[entry.name];
        if (!entry.name.ends_with(".xhtml")) {
            EXPECT_TRUE(converted == entry.data) << entry.name << " changed";
            continue;
        }
        ++documents;
        EXPECT_EQ(readerText(converted), readerText(entry.data)) << entry.name;
    }
    EXPECT_GE(documents, 16);

    // The pre-process did divide and annotate the text.
    bool marked = false;
    for (const ZipContent& entry : readZip(path("pre.epub")))
        marked = marked || entry.data.find("》") != std::string::npos;
    EXPECT_TRUE(marked);
}

TEST_F(CorpusRoundTripTest, NovelComesOutTheSameOnOneTwoAndEightWorkers)
{
    const fs::path novel = corpusBook("kusamakura.epub");
    if (novel.empty())
        GTEST_SKIP() << "the corpus is absent";
    std::map<std::string, std::string> first;
    for (const char* workers : {"1", "2", "8"}) {
        const std::vector<std::string> threads = {std::string("ZEF_THREADS=") + workers};
        const fs::path pre = path(std::string("pre-") + workers + ".epub");
        const fs::path final = path(std::string("final-") + workers + ".epub");
        ProgramResult r = zef({"-a", novel.string(), pre.string()}, threads);
        ASSERT_EQ(r.status, 0) << describe(r);
        r = zef({pre.string(), final.string()}, threads);
        ASSERT_EQ(r.status, 0) << describe(r);
        std::map<std::string, std::string> files;
        for (const fs::path& book : {pre, final})
            for (ZipContent& entry : readZip(book))
                files[book.filename().string().substr(0, 3) + ":" + entry.name] = std::move(entry.data);
        if (first.empty())
            first = std::move(files);
        else
            EXPECT_TRUE(first == files) << workers << " workers";
    }
}

TEST_F(CorpusRoundTripTest, EpubCheckFindsNothingNew)
{
    const fs::path novel = corpusBook("kusamakura.epub");
    if (novel.empty() || !fs::exists(EpubCheck) || !fs::exists("/usr/bin/java"))
        GTEST_SKIP() << "the corpus or EPUBCheck is absent";
    ProgramResult r = zef({"-a", novel.string(), path("pre.epub").string()});
    ASSERT_EQ(r.status, 0) << describe(r);
    r = zef({"-r", path("pre.epub").string(), path("final.epub").string()});
    ASSERT_EQ(r.status, 0) << describe(r);
    const std::set<std::string> before = epubCheckKinds(novel, scratch);
    for (const char* book : {"pre.epub", "final.epub"}) {
        for (const std::string& kind : epubCheckKinds(path(book), scratch))
            EXPECT_TRUE(before.count(kind)) << book << ": new " << kind;
    }
}

} // namespace

// Readings from a second dictionary, threads and the speed work must leave
// the plain pre-process as it was: the novel's documents keep the digests of
// the release before them (Debian's UTF-8 IPADIC; a deliberate change of the
// division rewrites this table).
TEST_F(CorpusRoundTripTest, PlainPreProcessKeepsItsBytes)
{
    const fs::path novel = corpusBook("kusamakura.epub");
    if (novel.empty())
        GTEST_SKIP() << "the corpus is absent";
    const std::map<std::string, uint64_t> expected = {
        {"OPS/xhtml/一.xhtml", 0x75f800baebe126b6ull},
        {"OPS/xhtml/七.xhtml", 0x7d3cda22a5008b07ull},
        {"OPS/xhtml/三.xhtml", 0xe2cef601cca0477aull},
        {"OPS/xhtml/九.xhtml", 0x9647b8783735cef0ull},
        {"OPS/xhtml/二.xhtml", 0xb68540534bac08c5ull},
        {"OPS/xhtml/五.xhtml", 0x224f3cbee67e8de8ull},
        {"OPS/xhtml/八.xhtml", 0xd47460d2fdaaddd2ull},
        {"OPS/xhtml/六.xhtml", 0xd752749e099ac649ull},
        {"OPS/xhtml/十.xhtml", 0x253b8e081bb259f7ull},
        {"OPS/xhtml/十一.xhtml", 0x420117f9aa306f39ull},
        {"OPS/xhtml/十三.xhtml", 0xa86b8ff5aaa17456ull},
        {"OPS/xhtml/十二.xhtml", 0x174c639177c79437ull},
        {"OPS/xhtml/四.xhtml", 0x5c7e3bdc92905d0bull},
        {"OPS/xhtml/後付.xhtml", 0xd86255741e6997b4ull},
        {"OPS/xhtml/目次.xhtml", 0x5d927ba0652a3c36ull},
        {"OPS/xhtml/表紙.xhtml", 0x54628aaba9c08e25ull},
    };
    const ProgramResult r = zef({"-a", novel.string(), path("pre.epub").string()});
    ASSERT_EQ(r.status, 0) << describe(r);
    std::map<std::string, uint64_t> actual;
    for (const ZipContent& entry : readZip(path("pre.epub")))
        if (entry.name.ends_with(".xhtml"))
            actual[entry.name] = digest(entry.data);
    EXPECT_TRUE(expected == actual);
    for (const auto& [name, hash] : actual)
        EXPECT_EQ(expected.count(name) ? expected.at(name) : 0, hash) << name;
}
