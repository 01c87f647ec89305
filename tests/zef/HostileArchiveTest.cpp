// Hostile and broken input through the whole converter: every bad book ends
// with its error number, writes nothing outside the working directory, leaves
// no working directory and no destination; odd destinations are handled
// without harm to anything the run did not create.

#include "tests/zef/MiniBook.h"
#include "tests/zef/ZefFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

using namespace zef::test;

struct HostileCase {
    const char* name;
    std::vector<ZipEntry> entries;
    int number;
};

std::vector<ZipEntry> withEntry(std::vector<ZipEntry> entries, ZipEntry extra)
{
    entries.push_back(std::move(extra));
    return entries;
}

class HostileArchiveTest : public ZefFixture {
protected:
    void SetUp() override
    {
        ZefFixture::SetUp();
        // Targets that an escaping name or link would reach.
        fs::create_directories(path("outside"));
        writeText(path("escaped.xhtml"), "outside the package");
    }

    // Pre- and post-process both refuse source with the error number: status,
    // message, no destination, and no file added, changed or removed.
    void expectRefused(const fs::path& source, int number, const std::string& what)
    {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "ERROR: %03d ", number);
        for (const char* mode : {"-a", "-b"}) {
            const std::set<std::string> before = treeListing(scratch);
            const std::string escaped = fileContent(path("escaped.xhtml"));
            const ProgramResult r = zef({mode, source.string(), path("out.epub").string()}, {}, 60);
            EXPECT_EQ(r.status, mode[1] == 'a' ? 4 : 3) << what << " " << mode << ": " << describe(r);
            // The parser's own report may come first; the model's error ends the run.
            const size_t lastLine = r.err.rfind('\n', r.err.size() - 2) + 1;
            EXPECT_EQ(r.err.compare(lastLine, std::strlen(prefix), prefix), 0) << what << " " << mode << ": " << r.err;
            EXPECT_EQ(treeListing(scratch), before) << what << " " << mode;
            EXPECT_EQ(fileContent(path("escaped.xhtml")), escaped) << what << " " << mode;
        }
    }

    void expectRefused(const std::vector<ZipEntry>& entries, int number, const std::string& what)
    {
        writeZip(path("hostile.epub"), entries);
        expectRefused(path("hostile.epub"), number, what);
        fs::remove(path("hostile.epub"));
    }
};

TEST_F(HostileArchiveTest, EntryNamesThatLeaveTheWorkingDirectory)
{
    const std::vector<ZipEntry> book = MiniBook().entries();
    const std::string absolute = path("outside/absolute.txt").string();
    for (const std::string& name : {std::string("../escaped.txt"), std::string("../../escaped.txt"),
                                    std::string("OEBPS/../../../outside/escaped.txt"), absolute,
                                    std::string("..\\..\\escaped.txt"), std::string("OEBPS\\text\\x.xhtml")}) {
        expectRefused(withEntry(book, {name, "escaped"}), 6, name);
        std::vector<ZipEntry> first = book;
        first.insert(first.begin() + 1, {name, "escaped"});
        expectRefused(first, 6, name + " early in the archive");
    }
}

TEST_F(HostileArchiveTest, SymbolicLinkEntryIsNoWayOut)
{
    ZipEntry link{"OEBPS/link", path("outside").string()};
    link.unixMode = 0120777;
    expectRefused(withEntry(withEntry(MiniBook().entries(), link), {"OEBPS/link/planted.txt", "planted"}), 6,
                  "a file below a link");
    EXPECT_FALSE(fs::exists(path("outside/planted.txt")));
}

TEST_F(HostileArchiveTest, DamagedArchives)
{
    writeZip(path("book.epub"), MiniBook().entries());
    const std::string whole = fileContent(path("book.epub"));
    // Without its end record the archive cannot be opened; a damaged end
    // record sends the reader to a bad entry header.
    for (const auto& [length, number] : {std::pair{whole.size() / 2, 3}, {whole.size() - 10, 4}, {size_t(0), 3}}) {
        writeText(path("cut.epub"), whole.substr(0, length));
        expectRefused(path("cut.epub"), number, "cut to " + std::to_string(length) + " bytes");
    }
    fs::remove(path("cut.epub"));
    fs::remove(path("book.epub"));

    std::vector<ZipEntry> entries = MiniBook().entries();
    entries.back().crc = 0x12345678;
    expectRefused(entries, 6, "wrong checksum");
}

TEST_F(HostileArchiveTest, HrefsThatLeaveThePackage)
{
    MiniBook spine;
    spine.chapters.push_back({"../../../../escaped.xhtml", ""});
    std::vector<ZipEntry> entries = spine.entries();
    entries.pop_back();
    expectRefused(entries, 12, "spine href");

    MiniBook navigation;
    navigation.navigationHref = "../../../../escaped.xhtml";
    expectRefused(navigation.entries(), 17, "navigation href");

    MiniBook container;
    container.opfPath = "../../../escaped.opf";
    writeText(path("escaped.opf"), MiniBook().packageDocument());
    entries = container.entries();
    entries[2].name = "OEBPS/content.opf";
    expectRefused(entries, 8, "container full-path");
}

TEST_F(HostileArchiveTest, MalformedDocuments)
{
    MiniBook book;
    std::vector<ZipEntry> entries = book.entries();
    entries[2].data = "<package><metadata>";
    expectRefused(entries, 10, "unclosed package document");
    entries[2].data = "<?xml version=\"1.0\"?><package xmlns=\"http://www.idpf.org/2007/opf\"><metadata/></package>";
    expectRefused(entries, 11, "package document without manifest and spine");

    book.chapters[0].second = "<html><body><p>閉じない";
    expectRefused(book.entries(), 13, "unclosed content document");
}

TEST_F(HostileArchiveTest, EntityReferencesAreNotExpanded)
{
    // A billion laughs: references pass through as written, never expanded.
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE html [\n<!ENTITY a0 \"笑笑笑笑笑笑笑笑笑笑\">\n";
    for (int i = 1; i <= 9; ++i) {
        bomb += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j)
            bomb += "&a" + std::to_string(i - 1) + ";";
        bomb += "\">\n";
    }
    bomb += "]>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><p>&a9;</p></body></html>\n";
    MiniBook book;
    book.chapters[0].second = bomb;
    writeZip(path("bomb.epub"), book.entries());
    for (const char* mode : {"-a", "-b"}) {
        const ProgramResult r = zef({mode, path("bomb.epub"), path("out.epub")}, {}, 30);
        ASSERT_EQ(r.status, 0) << mode << ": " << describe(r);
        const std::string converted = readZip(path("out.epub")).back().data;
        EXPECT_LT(converted.size(), bomb.size() + 100) << mode;
        EXPECT_NE(converted.find("<p>&a9;</p>"), std::string::npos) << mode << ": " << converted;
    }
}

TEST_F(HostileArchiveTest, DeepNesting)
{
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<span>";
    deep += "本";
    for (int i = 0; i < 200000; ++i)
        deep += "</span>";
    MiniBook book;
    book.chapters[0].second = xhtmlDocument(deep);
    expectRefused(book.entries(), 13, "200,000 nested elements");
}

TEST_F(HostileArchiveTest, SourcesThatAreNoArchive)
{
    expectRefused(scratch / "outside", 3, "a folder");
    expectRefused("/dev/zero", 3, "an endless device");
    writeText(path("empty.epub"), "");
    expectRefused(path("empty.epub"), 3, "an empty file");
    expectRefused(path("missing.epub"), 3, "no file");
}

TEST_F(HostileArchiveTest, OddDestinations)
{
    writeZip(path("book.epub"), MiniBook().entries());
    // Anything but a regular file is refused, never replaced. A device is
    // tried only without root's rights, which a faulty replacement would need.
    mkfifo(path("fifo").c_str(), 0600);
    std::vector<std::string> refused = {path("fifo"), path("outside")};
    if (geteuid() != 0)
        refused.push_back("/dev/full");
    for (const std::string& destination : refused) {
        const ProgramResult r = zef({"-b", path("book.epub"), destination}, {}, 30);
        EXPECT_EQ(r.status, 3) << destination << ": " << describe(r);
        EXPECT_EQ(r.err.rfind("ERROR: 026 ", 0), 0u) << destination << ": " << r.err;
    }
    EXPECT_EQ(fs::status(path("fifo")).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_directory(path("outside")));

    // A link as destination: the book replaces the file it names, the link stays.
    writeText(path("outside/target.epub"), "old");
    fs::create_symlink(path("outside/target.epub"), path("link.epub"));
    const ProgramResult r = zef({"-b", path("book.epub"), path("link.epub")});
    EXPECT_EQ(r.status, 0) << describe(r);
    EXPECT_TRUE(fs::is_symlink(path("link.epub")));
    EXPECT_EQ(readZip(path("outside/target.epub")).size(), MiniBook().entries().size());
    EXPECT_EQ(treeListing(path("outside")), std::set<std::string>{"target.epub"});
}

TEST_F(HostileArchiveTest, ZipBombIsRefusedBeforeAnythingIsUnpacked)
{
    // Regression: an archive unpacked whatever it held. Zeros deflate a
    // thousandfold: 96 MiB take about 100 KB on disk.
    ZipEntry zeros{"OEBPS/zeros.bin", std::string(96 << 20, '\0')};
    writeZip(path("bomb.epub"), withEntry(MiniBook().entries(), zeros));
    ASSERT_LT(fs::file_size(path("bomb.epub")), 1u << 20);
    expectRefused(path("bomb.epub"), 29, "a bomb");
    ProgramResult r = zef({path("bomb.epub"), path("out.epub")});
    EXPECT_EQ(r.err, "ERROR: 029 The book exceeds the unpacking limit of 100 times its size.\n");

    // Each limit is named, and an option raises it.
    r = zef({"--max-ratio=2000", "--max-unpacked-size=64M", path("bomb.epub"), path("out.epub")});
    EXPECT_EQ(r.err, "ERROR: 029 The book exceeds the unpacking limit of 67108864 bytes.\n");
    r = zef({"--max-ratio=2000", "--max-entries=5", path("bomb.epub"), path("out.epub")});
    EXPECT_EQ(r.err, "ERROR: 029 The book exceeds the unpacking limit of 5 entries.\n");
    EXPECT_FALSE(fs::exists(path("out.epub")));
    r = zef({"--max-ratio=2000", path("bomb.epub"), path("out.epub")});
    EXPECT_EQ(r.status, 0) << describe(r);
    EXPECT_EQ(readZip(path("out.epub")).back().data.size(), size_t(96) << 20);

    for (const char* option : {"--max-ratio=0", "--max-entries", "--max-unpacked-size=4X", "--max-entries=-1"}) {
        r = zef({option, path("bomb.epub"), path("out2.epub")});
        EXPECT_EQ(r.status, 255) << option;
        EXPECT_EQ(r.err.rfind("ERROR: ", 0), 0u) << option << ": " << r.err;
    }
}

TEST_F(HostileArchiveTest, EntryNamesInMessagesCannotControlTheTerminal)
{
    // Regression: a name that retitled and cleared the terminal was printed raw.
    // ESC, BEL, the C1 control CSI (U+009B) and a byte that is not UTF-8.
    const std::string name = "OEBPS/\x1B]0;owned\x07\x1B[2J\xC2\x9B\xFF.txt";
    writeZip(path("book.epub"), withEntry(MiniBook().entries(), {name, "x"}));
    const ProgramResult r = zef({path("book.epub"), path("out.epub")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "ERROR: 006 Can't unzip the file. OEBPS/\\x1B]0;owned\\x07\\x1B[2J\\xC2\\x9B\\xFF.txt: "
                     "the name is not UTF-8\n");
}

TEST_F(HostileArchiveTest, Zip64BookUnpacks)
{
    // Regression: minizip answers the 32-bit placeholder for sizes kept in
    // the zip64 field, and such a book was refused with error 006.
    const fs::path folder = path("book");
    for (const ZipEntry& entry : MiniBook().entries())
        writeText(folder / entry.name, entry.data);
    const std::string command = "cd '" + folder.string() + "' && zip -q -X -0 -fz ../z64.epub mimetype"
                              + " && zip -q -X -r -fz ../z64.epub META-INF OEBPS";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "zip is not installed";
    const ProgramResult r = zef({path("z64.epub"), path("out.epub")});
    ASSERT_EQ(r.status, 0) << describe(r);
    EXPECT_EQ(readZip(path("out.epub")).size(), MiniBook().entries().size());
}

TEST_F(HostileArchiveTest, DestinationInTheWorkingFolderIsRefused)
{
    // Regression: the book was packed into the working folder, removed with
    // it, and the run exited 0.
    writeZip(path("book.epub"), MiniBook().entries());
    for (const std::string& destination : {(temporary / "zef.0" / "out.epub").string(),
                                           (temporary / "zef.0" / "OEBPS" / "out.epub").string()}) {
        const ProgramResult r = zef({"-b", path("book.epub"), destination});
        EXPECT_EQ(r.status, 3) << destination;
        EXPECT_EQ(r.err.rfind("ERROR: 026 Can't create the output epub file. '" + destination + "' It lies in", 0), 0u)
            << r.err;
    }
}

TEST_F(HostileArchiveTest, StandardOutputThatNamesNoPathIsWrittenThrough)
{
    // Regression: /dev/stdout on a deleted file made a stray file named
    // "... (deleted)", and on a pipe one named "pipe:[...]".
    writeZip(path("book.epub"), MiniBook().entries());
    const std::string zefRun = std::string(ZefProgram) + " -b book.epub /dev/stdout";
    const std::string deleted = "cd '" + scratch.string() + "' && exec 3>gone.epub && rm gone.epub && " + zefRun
                              + " >&3 && cp /proc/self/fd/3 kept.epub";
    const std::set<std::string> before = treeListing(scratch);
    ProgramRun run{{"-c", deleted}, "", "", {"TMPDIR=" + temporary.string(), "ZEF_SYSCONFDIR=" + settings.string()}};
    ProgramResult r = runProgram("/bin/sh", run, scratch);
    EXPECT_EQ(r.status, 0) << describe(r);
    EXPECT_EQ(readZip(path("kept.epub")).size(), MiniBook().entries().size()) << "written through the descriptor";
    fs::remove(path("kept.epub"));
    EXPECT_EQ(treeListing(scratch), before);

    // A pipe cannot take a zip archive, which is written with seeks back:
    // the run fails, and no file appears.
    run.arguments = {"-c", "cd '" + scratch.string() + "' && " + zefRun + " | cat >/dev/null"};
    r = runProgram("/bin/sh", run, scratch);
    EXPECT_EQ(treeListing(scratch), before);
    EXPECT_TRUE(treeListing(temporary).empty());
}

TEST_F(HostileArchiveTest, LargeMediaComesThroughIntact)
{
    std::string media(60 << 20, '\0');
    std::mt19937_64 random(42);
    for (size_t i = 0; i + 8 <= media.size(); i += 8) {
        const uint64_t word = random();
        std::memcpy(media.data() + i, &word, 8);
    }
    ZipEntry entry{"OEBPS/audio/long.mp3", media};
    entry.stored = true;
    writeZip(path("book.epub"), withEntry(MiniBook().entries(), entry));
    const ProgramResult r = zef({"-b", path("book.epub"), path("out.epub")}, {}, 300);
    ASSERT_EQ(r.status, 0) << describe(r);
    bool found = false;
    for (const ZipContent& content : readZip(path("out.epub"))) {
        if (content.name == entry.name) {
            found = true;
            EXPECT_TRUE(content.data == media) << "the media changed";
        }
    }
    EXPECT_TRUE(found);
}

} // namespace
