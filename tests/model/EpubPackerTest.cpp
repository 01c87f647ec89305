#include "model/EpubPacker.h"

#include "model/EpubUnpacker.h"
#include "model/ZephraModelError.h"
#include "tests/support/Corpus.h"
#include "tests/model/support/ScopedVariable.h"
#include "tests/model/support/ScratchFolder.h"
#include "tests/model/support/ZipBuilder.h"
#include "tests/model/support/ZipReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zlib.h>

using zef::test::readFile;
using zef::test::readZip;
using zef::test::ScopedVariable;
using zef::test::ScratchFolder;
using zef::test::toPath;
using zef::test::writeFile;
using zef::test::ZipBuilder;
using zef::test::ZipEntry;
namespace fs = std::filesystem;

namespace {

const std::string Mimetype = "application/epub+zip";

std::vector<std::string> names(const std::vector<ZipEntry>& entries)
{
    std::vector<std::string> out;
    for (const ZipEntry& entry : entries)
        out.push_back(entry.name);
    return out;
}

class EpubPackerTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(work()); }

    fs::path work() const { return scratch / "work"; }
    fs::path output() const { return scratch / "out.epub"; }

    void pack() { packEpub(toPath(work()), toPath(output())); }

    // Packs and answers the error raised; fails the test when none is.
    ZephraModelError packFailure(const fs::path& destination)
    {
        try {
            packEpub(toPath(work()), toPath(destination));
        } catch (const ZephraModelError& error) {
            return error;
        }
        ADD_FAILURE() << "packing succeeded";
        return ZephraModelError(0, "", 0);
    }

    // The names in the scratch folder, to show that no temporary file stayed.
    std::vector<std::string> scratchListing() const
    {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(scratch.path()))
            out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    ScratchFolder scratch;
};

TEST_F(EpubPackerTest, RoundTripPutsMimetypeFirstAndStoredAndKeepsNamesAndContents)
{
    const fs::path source = scratch / "source.epub";
    ZipBuilder(source)
        .addFile("OPS/xhtml/一.xhtml", "<html>一</html>")
        .addFile("META-INF/container.xml", "<container/>")
        .addFile("mimetype", Mimetype)  // neither first nor stored
        .addRawName("OPS/images/")
        .addFile("OPS/content.opf", "<package/>");
    unpackEpub(toPath(source), toPath(work()));
    pack();

    const std::vector<ZipEntry> entries = readZip(output());
    ASSERT_EQ(names(entries), (std::vector<std::string>{"mimetype", "META-INF/container.xml", "OPS/content.opf",
                                                        "OPS/xhtml/一.xhtml"}));
    EXPECT_EQ(entries[0].content, Mimetype);
    EXPECT_EQ(entries[0].method, 0u);
    EXPECT_EQ(entries[1].content, "<container/>");
    EXPECT_EQ(entries[2].content, "<package/>");
    EXPECT_EQ(entries[3].content, "<html>一</html>");
    for (const ZipEntry& entry : entries) {
        const bool ascii = std::all_of(entry.name.begin(), entry.name.end(), [](char c) { return c > 0; });
        EXPECT_EQ((entry.flag & 0x800) != 0, !ascii) << entry.name;
        if (entry.name != "mimetype") {
            EXPECT_EQ(entry.method, static_cast<unsigned long>(Z_DEFLATED)) << entry.name;
        }
    }
    // Readers find the media type at a fixed place: no extra field before it.
    const std::string bytes = readFile(output());
    EXPECT_EQ(bytes.substr(0, 4), "PK\x03\x04");
    EXPECT_EQ(bytes.substr(30, 8 + Mimetype.size()), "mimetype" + Mimetype);
}

TEST_F(EpubPackerTest, TheShallowestMimetypeDecidesTheRoot)
{
    writeFile(work() / "a" / "deep" / "mimetype", "deeper, though listed first");
    writeFile(work() / "stray.txt", "above the root");
    writeFile(work() / "book" / "mimetype", Mimetype);
    writeFile(work() / "book" / "META-INF" / "container.xml", "<container/>");
    writeFile(work() / "book" / "x" / "mimetype", "an ordinary file here");
    pack();
    const std::vector<ZipEntry> entries = readZip(output());
    ASSERT_EQ(names(entries), (std::vector<std::string>{"mimetype", "META-INF/container.xml", "x/mimetype"}));
    EXPECT_EQ(entries[0].content, Mimetype);
    EXPECT_EQ(entries[2].content, "an ordinary file here");
    EXPECT_EQ(entries[2].method, static_cast<unsigned long>(Z_DEFLATED));
}

TEST_F(EpubPackerTest, WithoutAMimetypeFileNothingIsMade)
{
    writeFile(work() / "OPS" / "a.xhtml", "text");
    fs::create_directory(work() / "OPS" / "mimetype");       // a folder is no mimetype file
    writeFile(scratch / "elsewhere" / "mimetype", Mimetype);
    fs::create_symlink(scratch / "elsewhere" / "mimetype", work() / "mimetype");  // nor is a link
    const ZephraModelError error = packFailure(output());
    EXPECT_EQ(error.number(), 24);
    EXPECT_EQ(std::string(error.text()), "Can't find the 'mimetype' file in " + work().string() + ".");
    EXPECT_FALSE(fs::exists(output()));
}

TEST_F(EpubPackerTest, ADestinationThatCannotBeAFileIsRefused)
{
    writeFile(work() / "mimetype", Mimetype);
    fs::create_directory(scratch / "folder.epub");
    for (const fs::path& destination : {scratch / "folder.epub", scratch / "missing" / "out.epub"}) {
        const ZephraModelError error = packFailure(destination);
        EXPECT_EQ(error.number(), 26);
        EXPECT_EQ(std::string(error.text()), "Can't create the output epub file. '" + destination.string() + "'");
    }
    EXPECT_TRUE(fs::is_empty(scratch / "folder.epub"));
}

TEST_F(EpubPackerTest, AFileThatCannotBeAddedLeavesTheDestinationAsItWas)
{
    writeFile(output(), "the previous book");
    writeFile(work() / "mimetype", Mimetype);
    writeFile(scratch / "secret.txt", "not part of the book");
    fs::create_symlink(scratch / "secret.txt", work() / "link");
    const size_t openBefore = zef::test::openFileCount();
    // The packer's diagnostic goes into the error, never on standard output.
    testing::internal::CaptureStdout();
    ZephraModelError error = packFailure(output());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(error.number(), 25);
    EXPECT_EQ(std::string(error.text()), "Can't append 'link' to '" + output().string() + "'. error in opening "
                                             + (work() / "link").string() + " for reading");

    // A FIFO neither blocks the packing nor goes in.
    fs::remove(work() / "link");
    writeFile(work() / "OPS" / "a.xhtml", "text");
    ASSERT_EQ(mkfifo((work() / "OPS" / "pipe").c_str(), 0600), 0);
    error = packFailure(output());
    EXPECT_EQ(error.number(), 25);
    EXPECT_EQ(std::string(error.text()), "Can't append 'OPS/pipe' to the output epub '" + output().string()
                                             + "'. error in opening " + (work() / "OPS" / "pipe").string()
                                             + " for reading");

    EXPECT_EQ(readFile(output()), "the previous book");
    EXPECT_EQ(scratchListing(), (std::vector<std::string>{"out.epub", "secret.txt", "work"}));
    EXPECT_EQ(zef::test::openFileCount(), openBefore);
}

TEST_F(EpubPackerTest, AWriteFailureLeavesTheDestinationAsItWas)
{
    writeFile(output(), "the previous book");
    writeFile(work() / "mimetype", Mimetype);
    std::string noise(1 << 20, '\0');
    uint32_t state = 1;
    for (char& c : noise) {
        state = state * 1664525 + 1013904223;
        c = static_cast<char>(state >> 24);
    }
    writeFile(work() / "OPS" / "noise.bin", noise);

    // A file size limit makes every write past 64 KB fail, as a full disk would.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    testing::internal::CaptureStdout();
    const ZephraModelError error = packFailure(output());
    testing::internal::GetCapturedStdout();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_TRUE(error.number() == 25 || error.number() == 26) << error.number();
    EXPECT_EQ(readFile(output()), "the previous book");
    EXPECT_EQ(scratchListing(), (std::vector<std::string>{"out.epub", "work"}));
}

TEST_F(EpubPackerTest, EntriesCarryTheLocalModificationTime)
{
    writeFile(work() / "mimetype", Mimetype);
    writeFile(work() / "old.txt", "before 1980");
    struct tm local = {};
    local.tm_year = 2020 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 17;
    local.tm_hour = 13;
    local.tm_min = 45;
    local.tm_sec = 30;
    local.tm_isdst = -1;
    const struct timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (work() / "mimetype").c_str(), times, 0), 0);
    const struct timespec early[2] = {{86400 * 365, 0}, {86400 * 365, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (work() / "old.txt").c_str(), early, 0), 0);
    pack();
    const std::vector<ZipEntry> entries = readZip(output());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].dosDate, (40ul << 25) | (5ul << 21) | (17ul << 16) | (13ul << 11) | (45ul << 5) | 15ul);
    EXPECT_EQ(entries[1].dosDate, (1ul << 21) | (1ul << 16));  // the earliest date the format has
}

TEST_F(EpubPackerTest, ALargeEntryStreamsThroughInConstantMemory)
{
    const uint64_t size = 48ull << 20;
    uLong expected = crc32(0, nullptr, 0);
    uint32_t state = 7;
    const fs::path source = scratch / "large.epub";
    ZipBuilder(source).addFile("mimetype", Mimetype, 0).addGenerated("OPS/large.bin", size, [&](char* piece, size_t length) {
        // Runs of one letter keep deflating quick; the letters vary enough
        // that a misplaced block changes the CRC.
        for (size_t i = 0; i < length; ++i) {
            if (i % 64 == 0)
                state = state * 1664525 + 1013904223;
            piece[i] = static_cast<char>('a' + (state >> 28));
        }
        expected = crc32(expected, reinterpret_cast<const Bytef*>(piece), static_cast<uInt>(length));
    });

    struct rusage before;
    getrusage(RUSAGE_SELF, &before);
    unpackEpub(toPath(source), toPath(work()));
    EXPECT_EQ(fs::file_size(work() / "OPS" / "large.bin"), size);
    pack();
    struct rusage after;
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "kilobytes more at the peak";

    // The packed entry reads back whole; minizip's reader checks its CRC too.
    unzFile zip = unzOpen64(output().c_str());
    ASSERT_NE(zip, nullptr);
    ASSERT_EQ(unzLocateFile(zip, "OPS/large.bin", 1), UNZ_OK);
    ASSERT_EQ(unzOpenCurrentFile(zip), UNZ_OK);
    std::vector<char> buffer(1 << 16);
    uLong actual = crc32(0, nullptr, 0);
    uint64_t total = 0;
    int got;
    while ((got = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
        actual = crc32(actual, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
        total += static_cast<uint64_t>(got);
    }
    EXPECT_EQ(got, 0);
    EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK);
    unzClose(zip);
    EXPECT_EQ(total, size);
    EXPECT_EQ(actual, expected);
}

TEST_F(EpubPackerTest, ARealBookComesBackWithTheSameFiles)
{
    const fs::path book = zef::test::corpusBook("kusamakura.epub");
    if (book.empty())
        GTEST_SKIP() << "the corpus is not here";
    unpackEpub(toPath(book), toPath(work()));
    pack();
    std::map<std::string, std::string> original;
    for (const ZipEntry& entry : readZip(book)) {
        if (entry.name.back() != '/')
            original[entry.name] = entry.content;
    }
    const std::vector<ZipEntry> packed = readZip(output());
    ASSERT_FALSE(packed.empty());
    EXPECT_EQ(packed[0].name, "mimetype");
    EXPECT_EQ(packed[0].method, 0u);
    std::map<std::string, std::string> repacked;
    for (const ZipEntry& entry : packed)
        repacked[entry.name] = entry.content;
    EXPECT_EQ(repacked, original);
}

} // namespace

TEST_F(EpubPackerTest, ManyEntriesOfSizesAroundTheArchiveBufferComeBackWhole)
{
    // Incompressible data of sizes about the buffer the archive is read and
    // written through, in folders that take turns: headers are patched across
    // the buffer's bounds, and the reader goes to and fro between the
    // directory and the data.
    std::mt19937 random(7);
    const size_t sizes[] = {0, 1, 65535, 65536, 65537, 100000, 140000};
    const fs::path source = scratch / "source.epub";
    ZipBuilder builder(source);
    builder.addFile("mimetype", Mimetype, 0);
    std::map<std::string, std::string> files;
    for (int i = 0; i < 60; ++i) {
        std::string data(sizes[i % std::size(sizes)] + random() % 3, '\0');
        for (char& c : data)
            c = static_cast<char>(random());
        const std::string name = std::string(i % 3 ? "OPS/a/" : "OPS/b/") + std::to_string(i) + ".bin";
        builder.addFile(name, data, i % 2 ? Z_DEFLATED : 0);
        files[name] = data;
    }
    builder.close();
    unpackEpub(toPath(source), toPath(work()));
    for (const auto& [name, data] : files)
        ASSERT_TRUE(readFile(work() / name) == data) << name;
    pack();
    const std::vector<ZipEntry> entries = readZip(output());
    ASSERT_EQ(entries.size(), files.size() + 1);
    for (const ZipEntry& entry : entries) {
        if (entry.name != "mimetype") {
            EXPECT_TRUE(entry.content == files[entry.name]) << entry.name;
        }
    }
}

TEST_F(EpubPackerTest, TheArchiveIsTheSameByteForByteOnOneThreadAndOnSeveral)
{
    // Files held whole and deflated ahead, empty ones, and one too large to
    // hold, which streams through the writer: whichever thread deflates a
    // file, the archive must not change.
    writeFile(work() / "mimetype", Mimetype);
    for (int i = 0; i < 40; ++i)
        writeFile(work() / "OPS" / ("d" + std::to_string(i) + ".xhtml"),
                  i % 7 ? std::string(static_cast<size_t>(i) * 977, static_cast<char>('a' + i % 26)) + "<p>本文</p>" : "");
    writeFile(work() / "OPS" / "large.bin", std::string(17 * 1024 * 1024, 'x'));
    std::vector<std::string> archives;
    for (const char* threads : {"1", "4"}) {
        const ScopedVariable setting("ZEF_THREADS", threads);
        pack();
        archives.push_back(readFile(output()));
    }
    EXPECT_TRUE(archives[0] == archives[1]);
    EXPECT_EQ(readZip(output()).size(), 42u);
}
