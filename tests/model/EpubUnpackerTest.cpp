#include "model/EpubUnpacker.h"

#include "model/ZephraModelError.h"
#include "tests/model/support/ScratchFolder.h"
#include "tests/model/support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using zef::test::readFile;
using zef::test::ScratchFolder;
using zef::test::toPath;
using zef::test::writeFile;
using zef::test::ZipBuilder;
namespace fs = std::filesystem;

namespace {

class EpubUnpackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(work());
        fs::create_directory(outside());
    }

    fs::path archive() const { return scratch / "book.epub"; }
    fs::path work() const { return scratch / "work"; }
    fs::path outside() const { return scratch / "outside"; }

    void unpack() { unpackEpub(toPath(archive()), toPath(work())); }

    // Unpacks and answers the error raised; fails the test when none is.
    ZephraModelError unpackFailure()
    {
        try {
            unpack();
        } catch (const ZephraModelError& error) {
            return error;
        }
        ADD_FAILURE() << "unpacking succeeded";
        return ZephraModelError(0, "", 0);
    }

    bool isEmpty(const fs::path& folder) const { return fs::is_empty(folder); }

    ScratchFolder scratch;
};

TEST_F(EpubUnpackerTest, ExtractsFilesAndFoldersUnderTheirNames)
{
    // An existing file is overwritten, not appended to.
    writeFile(work() / "OPS" / "content.opf", "a much longer old content that must disappear");
    ZipBuilder(archive())
        .addFile("mimetype", "application/epub+zip", 0)
        .addRawName("META-INF/")
        .addFile("META-INF/container.xml", "<container/>")
        .addFile("OPS/content.opf", "<package/>")
        .addFile("OPS/xhtml/一.xhtml", "<html>一</html>")
        .addRawName("OPS/images/")
        .addFile("OPS//style/./book.css", "p {}")
        .addFile("OPS/empty.txt", "");
    unpack();
    EXPECT_EQ(readFile(work() / "mimetype"), "application/epub+zip");
    EXPECT_EQ(readFile(work() / "META-INF" / "container.xml"), "<container/>");
    EXPECT_EQ(readFile(work() / "OPS" / "content.opf"), "<package/>");
    EXPECT_EQ(readFile(work() / "OPS" / "xhtml" / "一.xhtml"), "<html>一</html>");
    EXPECT_EQ(readFile(work() / "OPS" / "style" / "book.css"), "p {}");
    EXPECT_TRUE(fs::is_regular_file(work() / "OPS" / "empty.txt"));
    EXPECT_TRUE(fs::is_directory(work() / "OPS" / "images"));
    EXPECT_TRUE(isEmpty(work() / "OPS" / "images"));
}

TEST_F(EpubUnpackerTest, LongNamesAreNotCutShort)
{
    const std::string name = std::string(200, 'a') + "/" + std::string(200, 'b') + "/" + std::string(200, 'c') + ".xhtml";
    const std::string shorter = name.substr(0, 511);
    ZipBuilder(archive()).addFile(name, "long").addFile(shorter, "cut");
    unpack();
    EXPECT_EQ(readFile(work() / name), "long");
    EXPECT_EQ(readFile(work() / shorter), "cut");
}

TEST_F(EpubUnpackerTest, NamesThatWouldLeaveTheFolderAreRefusedBeforeAnythingIsWritten)
{
    struct Case {
        std::string name;
        int number;
        // The message of error 6 names the entry as printed and the reason.
        std::string message;
    };
    const std::string escapes = ": the name leads out of the book";
    const std::string absolute = (outside() / "evil.txt").string();
    const std::string backslash = ": a zero byte or a backslash in the name";
    const std::string notUtf8 = ": the name is not UTF-8";
    const std::vector<Case> cases = {
        {"../outside/evil.txt", 6, "../outside/evil.txt" + escapes},
        {"OPS/../../outside/evil.txt", 6, "OPS/../../outside/evil.txt" + escapes},
        {absolute, 6, absolute + ": an absolute name"},
        {"OPS\\..\\..\\outside\\evil.txt", 6, "OPS\\..\\..\\outside\\evil.txt" + backslash},
        {"..\\outside\\evil.txt", 6, "..\\outside\\evil.txt" + backslash},
        {"../outside/evil/", 5, ""},
        {"OPS\\evil\\", 5, ""},
        {"OPS/evil\xff.txt", 6, "OPS/evil\\xFF.txt" + notUtf8},  // it would decode to another name
        {"\xEF\xBB\xBF" "evil.txt", 6, "\xEF\xBB\xBF" "evil.txt" + notUtf8},  // the mark would be dropped
        {"OPS/\xC0\xAE\xC0\xAE/evil.txt", 6, "OPS/\\xC0\\xAE\\xC0\\xAE/evil.txt" + notUtf8},  // an overlong ".."
        {"OPS/..", 6, "OPS/.." + escapes},
        {".", 6, ".: the name names no file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ZipBuilder(archive()).addFile(c.name, "evil").addFile("after.txt", "after");
        const ZephraModelError error = unpackFailure();
        EXPECT_EQ(error.number(), c.number);
        EXPECT_EQ(std::string(error.text()),
                  c.number == 5 ? "Can't create directory." : "Can't unzip the file. " + c.message);
        EXPECT_TRUE(isEmpty(work()));
        EXPECT_TRUE(isEmpty(outside()));
    }
}

TEST_F(EpubUnpackerTest, LinkEntriesAreRefused)
{
    ZipBuilder(archive()).addSymlink("OPS", outside().string()).addFile("OPS/evil.txt", "evil");
    const ZephraModelError error = unpackFailure();
    EXPECT_EQ(error.number(), 6);
    EXPECT_STREQ(error.text(), "Can't unzip the file. OPS: a symbolic link");
    EXPECT_TRUE(isEmpty(work()));
    EXPECT_TRUE(isEmpty(outside()));
}

TEST_F(EpubUnpackerTest, LinksPlantedInTheFolderAreNotFollowed)
{
    fs::create_directory_symlink(outside(), work() / "OPS");
    ZipBuilder(archive()).addFile("OPS/evil.txt", "evil");
    EXPECT_EQ(unpackFailure().number(), 5);
    EXPECT_TRUE(isEmpty(outside()));

    writeFile(outside() / "target.txt", "keep");
    fs::create_symlink(outside() / "target.txt", work() / "mimetype");
    ZipBuilder(archive()).addFile("mimetype", "application/epub+zip");
    const ZephraModelError error = unpackFailure();
    EXPECT_EQ(error.number(), 6);
    EXPECT_EQ(std::string(error.text()),
              "Can't cretate file (" + (work() / "mimetype").string() + ") when unzip the epub file.");
    EXPECT_EQ(readFile(outside() / "target.txt"), "keep");
    EXPECT_TRUE(fs::is_symlink(work() / "mimetype"));
}

TEST_F(EpubUnpackerTest, DamagedArchivesNeverUnpackAsSuccess)
{
    ZipBuilder(archive()).addFile("mimetype", "application/epub+zip", 0).addFileWithBadCrc("OPS/a.xhtml", "text");
    ZephraModelError error = unpackFailure();
    EXPECT_EQ(error.number(), 6);
    EXPECT_STREQ(error.text(), "Can't unzip the file. OPS/a.xhtml: its data does not match its checksum");

    // Deflated data damaged in the middle: here the stream ends early, which
    // minizip answers as a complete entry, unchecked.
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += "line " + std::to_string(i * 7919 % 1000) + "\n";
    ZipBuilder(archive()).addFile("OPS/a.xhtml", text);
    {
        std::fstream file(archive(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(30 + 11 + 200);
        file.write("\xFF\x00\xFF\x00\xFF\x00", 6);
    }
    error = unpackFailure();
    EXPECT_EQ(error.number(), 6);

    // Cut off: the directory at the end is gone.
    ZipBuilder(archive()).addFile("mimetype", "application/epub+zip", 0).addFile("OPS/a.xhtml", text);
    ZipBuilder::truncate(archive(), fs::file_size(archive()) - 30);
    error = unpackFailure();
    EXPECT_TRUE(error.number() == 3 || error.number() == 4 || error.number() == 6) << error.number();
}

TEST_F(EpubUnpackerTest, FailuresLeaveNothingOpen)
{
    const size_t before = zef::test::openFileCount();
    ZipBuilder(archive()).addFile("OPS/a.xhtml", "text").addFileWithBadCrc("OPS/b.xhtml", "text");
    EXPECT_EQ(unpackFailure().number(), 6);
    fs::create_symlink(outside() / "target.txt", work() / "linked");
    ZipBuilder(archive()).addFile("linked", "text");
    EXPECT_EQ(unpackFailure().number(), 6);
    ZipBuilder(archive()).addFile("OPS/a.xhtml/inner.xhtml", "text");
    EXPECT_EQ(unpackFailure().number(), 5);
    EXPECT_EQ(zef::test::openFileCount(), before);
}

TEST_F(EpubUnpackerTest, WhatIsNoArchiveFailsWithErrorThree)
{
    writeFile(archive(), "this is not a zip archive");
    for (const fs::path& source : {archive(), scratch / "missing.epub", outside()}) {
        SCOPED_TRACE(source);
        try {
            unpackEpub(toPath(source), toPath(work()));
            ADD_FAILURE() << "unpacking succeeded";
        } catch (const ZephraModelError& error) {
            EXPECT_EQ(error.number(), 3);
            EXPECT_EQ(std::string(error.text()), "Can't open unzip file. " + source.string());
        }
    }
    EXPECT_TRUE(isEmpty(work()));
}

} // namespace
