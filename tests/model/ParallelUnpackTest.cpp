#include "model/EpubUnpacker.h"

#include "model/EntryInflater.h"
#include "model/ZephraModelError.h"
#include "tests/model/support/SampleContent.h"
#include "tests/model/support/ScopedVariable.h"
#include "tests/model/support/ScratchFolder.h"
#include "tests/model/support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <zlib.h>

using zef::test::readFile;
using zef::test::ScratchFolder;
using zef::test::ScopedVariable;
using zef::test::toPath;
using zef::test::ZipBuilder;
namespace fs = std::filesystem;

// Unpacking with worker threads writes and fails exactly as unpacking on
// the caller's thread alone.

namespace {

// Every file and folder below root, with the bytes of each file.
std::map<std::string, std::string> tree(const fs::path& root)
{
    std::map<std::string, std::string> found;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        found[name] = entry.is_directory() ? "<folder>" : readFile(entry.path());
    }
    return found;
}

// What unpacking archive into a fresh folder with the given ZEF_THREADS
// leaves: the files, and the error it raised ("" for none).
struct Outcome {
    std::map<std::string, std::string> files;
    std::string error;
};

Outcome unpackWith(const char* threads, const fs::path& archive, const fs::path& folder)
{
    const ScopedVariable setting("ZEF_THREADS", threads);
    fs::remove_all(folder);
    fs::create_directory(folder);
    Outcome outcome;
    try {
        unpackEpub(toPath(archive), toPath(folder));
    } catch (const ZephraModelError& error) {
        outcome.error = std::to_string(error.number()) + " " + error.text();
    }
    outcome.files = tree(folder);
    return outcome;
}

// Text of every size a book holds, from nothing to several reads' worth,
// some of it hardly compressible.
std::string content(size_t i)
{
    return zef::test::sampleContent(i, {11, 4, 200000, 9000, 3});
}

std::string deflated(const std::string& text)
{
    uLongf length = compressBound(static_cast<uLong>(text.size()));
    std::string out(length, '\0');
    // compress2 writes a zlib stream: its two header bytes and four
    // trailing ones are not part of the raw deflate stream.
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(text.data()),
                        static_cast<uLong>(text.size()), Z_DEFAULT_COMPRESSION),
              Z_OK);
    return out.substr(2, length - 6);
}

uint32_t crcOf(const std::string& text)
{
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

class ParallelUnpackTest : public ::testing::Test {
protected:
    fs::path archive() const { return scratch / "book.epub"; }

    // Unpacks with the caller's thread alone and with several, and expects
    // the same files and the same error, which it answers.
    std::string expectSameUnpacking()
    {
        const Outcome alone = unpackWith("1", archive(), scratch / "alone");
        for (const char* threads : {"2", "5"}) {
            SCOPED_TRACE(threads);
            const Outcome shared = unpackWith(threads, archive(), scratch / "shared");
            EXPECT_EQ(shared.error, alone.error);
            EXPECT_EQ(shared.files.size(), alone.files.size());
            EXPECT_TRUE(shared.files == alone.files);
        }
        return alone.error;
    }

    ScratchFolder scratch;
};

TEST_F(ParallelUnpackTest, ABookOfManyEntriesUnpacksToTheSameFiles)
{
    {
        ZipBuilder zip(archive());
        zip.addFile("mimetype", "application/epub+zip", 0).addRawName("OPS/images/");
        for (size_t i = 0; i < 300; ++i) {
            zip.addFile("OPS/" + std::to_string(i % 7) + "/f" + std::to_string(i) + ".xhtml", content(i),
                        i % 5 == 0 ? 0 : Z_DEFLATED);
            // An entry too large to hold streams between the others.
            if (i == 150)
                zip.addGenerated("OPS/large.bin", EntryInflater::MaxEntryBytes + 1000, [](char* piece, size_t length) {
                    for (size_t k = 0; k < length; ++k)
                        piece[k] = static_cast<char>(k * 31 % 251);
                });
        }
    }
    EXPECT_EQ(expectSameUnpacking(), "");
    EXPECT_EQ(readFile(scratch / "alone" / "OPS" / "3" / "f10.xhtml"), content(10));
    EXPECT_EQ(fs::file_size(scratch / "alone" / "OPS" / "large.bin"), EntryInflater::MaxEntryBytes + 1000);
}

TEST_F(ParallelUnpackTest, ADamagedEntryInTheMiddleIsReportedAsItself)
{
    const std::string text = content(8) + content(12);
    const std::string raw = deflated(text);
    std::string garbled = raw;
    garbled.replace(raw.size() / 2, 8, "\xFF\x00\xFF\x00\xFF\x00\xFF\x00", 8);
    struct Case {
        const char* kind;
        std::function<void(ZipBuilder&)> add;
    };
    const std::string name = "OPS/damaged.xhtml";
    const std::vector<Case> cases = {
        {"bad checksum", [&](ZipBuilder& zip) { zip.addRaw(name, raw, text.size(), crcOf(text) ^ 1); }},
        {"stored, bad checksum", [&](ZipBuilder& zip) { zip.addFileWithBadCrc(name, text); }},
        {"stream ends early", [&](ZipBuilder& zip) { zip.addRaw(name, raw, text.size() + 1, crcOf(text)); }},
        {"stored, ends early", [&](ZipBuilder& zip) { zip.addRaw(name, text, text.size() + 1, crcOf(text), 0); }},
        {"more data than recorded", [&](ZipBuilder& zip) { zip.addRaw(name, raw, text.size() - 1, crcOf(text)); }},
        {"garbled", [&](ZipBuilder& zip) { zip.addRaw(name, garbled, text.size(), crcOf(text)); }},
        {"cut off", [&](ZipBuilder& zip) { zip.addRaw(name, raw.substr(0, raw.size() / 2), text.size(), crcOf(text)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        {
            ZipBuilder zip(archive());
            for (size_t i = 0; i < 60; ++i) {
                if (i == 30)
                    c.add(zip);
                // Later failures of every kind must not be the one reported.
                if (i == 40)
                    zip.addFile("../outside.txt", "evil");
                if (i == 45)
                    zip.addFileWithBadCrc("OPS/later.xhtml", "later");
                zip.addFile("OPS/f" + std::to_string(i) + ".xhtml", content(i));
            }
        }
        const std::string error = expectSameUnpacking();
        EXPECT_EQ(error.rfind("6 Can't unzip the file. " + name + ": ", 0), 0u) << error;
    }
}

TEST_F(ParallelUnpackTest, AnEntryRefusedBeforeItsDataIsReadWaitsForTheDamageBeforeIt)
{
    ZipBuilder(archive())
        .addFile("OPS/a.xhtml", content(3))
        .addFileWithBadCrc("OPS/b.xhtml", content(5))
        .addFile("OPS/c.xhtml", content(6))
        .addRawName("../escape/")
        .addFile("OPS/d.xhtml", content(7));
    EXPECT_EQ(expectSameUnpacking(), "6 Can't unzip the file. OPS/b.xhtml: its data does not match its checksum");
    ZipBuilder(archive()).addFile("OPS/a.xhtml", content(3)).addFile("OPS/b.xhtml", content(5)).addRawName("../escape/");
    EXPECT_EQ(expectSameUnpacking(), "5 Can't create directory.");
}

TEST_F(ParallelUnpackTest, FilesThatShareANameUnpackAsInTurn)
{
    // The later of two files of one name wins, with any number of entries
    // between them.
    {
        ZipBuilder zip(archive());
        zip.addFile("OPS/twice.xhtml", content(4));
        for (size_t i = 0; i < 20; ++i)
            zip.addFile("OPS/f" + std::to_string(i) + ".xhtml", content(i));
        zip.addFile("OPS/twice.xhtml", content(9));
    }
    EXPECT_EQ(expectSameUnpacking(), "");
    EXPECT_EQ(readFile(scratch / "alone" / "OPS" / "twice.xhtml"), content(9));

    // A file where a later one needs a folder, and a folder where a later
    // file would go.
    ZipBuilder(archive()).addFile("OPS/a.xhtml", content(3)).addFile("OPS/x", content(5)).addFile("OPS/x/y.xhtml",
                                                                                                 content(6));
    EXPECT_EQ(expectSameUnpacking(), "5 Can't create directory.");
    // The message names the file, and with it the folder unpacked into.
    ZipBuilder(archive()).addFile("OPS/d/e.xhtml", content(3)).addFile("OPS/d", content(5));
    const Outcome alone = unpackWith("1", archive(), scratch / "into");
    EXPECT_EQ(alone.error, "6 Can't cretate file (" + (scratch / "into" / "OPS" / "d").string() +
                               ") when unzip the epub file.");
    for (const char* threads : {"2", "5"}) {
        const Outcome shared = unpackWith(threads, archive(), scratch / "into");
        EXPECT_EQ(shared.error, alone.error) << threads;
        EXPECT_TRUE(shared.files == alone.files) << threads;
    }
}

TEST_F(ParallelUnpackTest, NothingIsLeftOfTheEntriesAfterTheOneThatFails)
{
    // Entries after the damaged one may already be written, and their
    // folders made, when it is found: they go again.
    {
        ZipBuilder zip(archive());
        zip.addFile("OPS/a.xhtml", content(3)).addFileWithBadCrc("OPS/b.xhtml", content(5));
        for (size_t i = 0; i < 12; ++i)
            zip.addFile("OPS/new" + std::to_string(i) + "/sub/f.xhtml", content(i));
    }
    EXPECT_EQ(expectSameUnpacking(), "6 Can't unzip the file. OPS/b.xhtml: its data does not match its checksum");
    for (const char* folder : {"alone", "shared"}) {
        SCOPED_TRACE(folder);
        const std::map<std::string, std::string> left = tree(scratch / folder);
        EXPECT_EQ(left.size(), 3u) << "OPS, a.xhtml and what b.xhtml wrote";
        EXPECT_EQ(left.count("OPS/b.xhtml"), 1u);
    }
}

} // namespace
