#include "model/ZephraModel.h"

#include "support/BookFiles.h"
#include "support/RaisedError.h"
#include "support/ScopedVariable.h"
#include "support/ScratchFolder.h"
#include "support/TemporaryFolder.h"
#include "support/ZipBuilder.h"
#include "support/ZipReader.h"
#include "tests/support/PinnedTagger.h"

#include <gtest/gtest.h>

#include <mecab.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace zef::test;
namespace fs = std::filesystem;

namespace {

const char* const Container = R"(<?xml version="1.0"?>
<container xmlns="urn:oasis:names:tc:opendocument:xmlns:container" version="1.0">
<rootfiles><rootfile full-path="OPS/package.opf" media-type="application/oebps-package+xml"/></rootfiles>
</container>)";

const char* const Navigation = R"(<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops"><head><title>nav</title></head>
<body><nav epub:type="toc"><ol><li><a href="text/a.xhtml">a</a></li></ol></nav></body></html>
)";

std::string chapter(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head><body>"
        + body + "</body></html>\n";
}

// A package whose spine lists the given hrefs (one manifest item each, in
// the folder of the package document).
std::string package(const std::vector<std::string>& spine)
{
    std::string manifest = R"(<item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>)";
    std::string itemrefs;
    std::map<std::string, std::string> ids;
    for (const std::string& href : spine) {
        if (!ids.count(href)) {
            ids[href] = "i" + std::to_string(ids.size());
            manifest += "<item id=\"" + ids[href] + "\" href=\"" + href + "\" media-type=\"application/xhtml+xml\"/>";
        }
        itemrefs += "<itemref idref=\"" + ids[href] + "\"/>";
    }
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="id"><metadata/><manifest>)"
        + manifest + "</manifest><spine>" + itemrefs + "</spine></package>\n";
}

// Counts what the model reports.
struct Progress : ProgressObserver {
    void documentStarted(uint32_t number, uint32_t count) override { started.emplace_back(number, count); }
    void documentsDone() override { ++done; }
    std::vector<std::pair<uint32_t, uint32_t>> started;
    int done = 0;
};

// Books are built in a scratch folder; working directories go to a
// temporary folder of the test's own, which must be empty afterwards.
class ZephraModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_temporaryFolder.emplace(scratch / "tmp");
    }
    void TearDown() override { m_temporaryFolder.reset(); }

    // A book with the chapters (href, body) and the spine order given.
    fs::path book(const std::vector<std::pair<std::string, std::string>>& chapters,
                  const std::vector<std::string>& spine, const std::string& navigation = Navigation)
    {
        const fs::path file = scratch / "book.epub";
        ZipBuilder zip(file);
        zip.addFile("mimetype", "application/epub+zip", 0)
            .addFile("META-INF/container.xml", Container)
            .addFile("OPS/package.opf", package(spine))
            .addFile("OPS/nav.xhtml", navigation);
        for (const auto& [href, body] : chapters)
            zip.addFile("OPS/" + href, chapter(body));
        zip.close();
        return file;
    }

    bool analyserMissing()
    {
        MeCab::Tagger* tagger = newPinnedTagger();
        delete tagger;
        return tagger == nullptr;
    }

    bool noWorkDirectoryLeft() { return fs::is_empty(scratch / "tmp"); }

    static std::string entry(const fs::path& archive, const std::string& name)
    {
        for (const ZipEntry& found : readZip(archive)) {
            if (found.name == name)
                return found.content;
        }
        ADD_FAILURE() << name << " not in " << archive;
        return {};
    }

    ScratchFolder scratch;

private:
    std::optional<zef::test::TemporaryFolder> m_temporaryFolder;
};

} // namespace

TEST_F(ZephraModelTest, PreThenPostGivesBackEveryCharacter)
{
    if (analyserMissing())
        GTEST_SKIP() << "MeCab cannot start here";
    const fs::path source = book({{"text/a.xhtml", "<p>今日は晴れ。file_name a~b &amp; &#x6F22;字 &lt;</p>"}},
                                 {"text/a.xhtml"});
    const fs::path pre = scratch / "pre.epub";
    const fs::path post = scratch / "post.epub";
    {
        ZephraModel model;
        model.preProcessEpub(zef::test::pinned(PreProcessOptions()), pathString(source), pathString(pre));
    }
    const std::string divided = entry(pre, "OPS/text/a.xhtml");
    EXPECT_NE(divided.find("｜今日《きょう》"), std::string::npos) << divided;
    EXPECT_NE(divided.find("file__name a~~b &amp; &#x6F22;"), std::string::npos) << divided;
    {
        ZephraModel model;
        model.postProcessEpub(pathString(pre), pathString(post), PostProcessOptions());
    }
    const std::string marked = entry(post, "OPS/text/a.xhtml");
    EXPECT_NE(marked.find("<ruby><rb>今日</rb><rp>（</rp><rt>きょう</rt><rp>）</rp></ruby>"), std::string::npos) << marked;
    EXPECT_NE(marked.find("file_name a~b &amp; &#x6F22;"), std::string::npos) << marked;
    EXPECT_NE(marked.find("&lt;</p>"), std::string::npos) << marked;
    // No page spans: the navigation document stays as it was.
    EXPECT_EQ(Navigation, entry(post, "OPS/nav.xhtml"));
    EXPECT_TRUE(noWorkDirectoryLeft());
}

TEST_F(ZephraModelTest, DocumentListedTwiceIsConvertedOnceAndEveryOneIsReported)
{
    if (analyserMissing())
        GTEST_SKIP() << "MeCab cannot start here";
    const fs::path source = book({{"a.xhtml", "<p>漢字</p>"}, {"b.xhtml", "<p>かな</p>"}},
                                 {"a.xhtml", "b.xhtml", "a.xhtml"});
    Progress progress;
    ZephraModel model;
    model.setObserver(&progress);
    model.preProcessEpub(zef::test::pinned(PreProcessOptions()), pathString(source), pathString(scratch / "pre.epub"));
    EXPECT_EQ((std::vector<std::pair<uint32_t, uint32_t>>{{1, 3}, {2, 3}, {3, 3}}), progress.started);
    EXPECT_EQ(1, progress.done);
    const std::string divided = entry(scratch / "pre.epub", "OPS/a.xhtml");
    EXPECT_NE(divided.find("<p>｜漢字《かんじ》</p>"), std::string::npos) << divided;
}

TEST_F(ZephraModelTest, PercentEscapedHrefNamesItsFile)
{
    const fs::path source = book({{"a b.xhtml", "<p>｜字《じ》</p>"}}, {"a%20b.xhtml"});
    ZephraModel model;
    model.postProcessEpub(pathString(source), pathString(scratch / "post.epub"), PostProcessOptions());
    EXPECT_NE(entry(scratch / "post.epub", "OPS/a b.xhtml").find("<rb>字</rb>"), std::string::npos);
}

TEST_F(ZephraModelTest, AnalyserThatCannotStartGivesItsReasonBeforeAnyFileIsTouched)
{
    PreProcessOptions options;
    options.mecabrc = "/nonexistent/mecabrc";
    ZephraModel model;
    const auto error = raisedError([&] { model.preProcessEpub(options, pathString(scratch / "missing.epub"),
                                                              pathString(scratch / "out.epub")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(27, error->number());
    EXPECT_NE(0u, error->message().length());
    EXPECT_TRUE(model.workDirectory().isEmpty());
    EXPECT_FALSE(fs::exists(scratch / "out.epub"));
}

TEST_F(ZephraModelTest, FailureKeepsTheWorkDirectoryUntilRemovedAndWritesNoDestination)
{
    const fs::path source = book({{"a.xhtml", "<p>｜字《じ》</p>"}}, {"a.xhtml", "missing.xhtml"});
    const fs::path destination = scratch / "post.epub";
    ZephraModel model;
    const auto error = raisedError([&] { model.postProcessEpub(pathString(source), pathString(destination),
                                                               PostProcessOptions()); });
    ASSERT_TRUE(error);
    EXPECT_EQ(12, error->number());
    EXPECT_FALSE(fs::exists(destination));
    EXPECT_FALSE(noWorkDirectoryLeft());
    model.removeWorkDirectory();
    EXPECT_TRUE(noWorkDirectoryLeft());
}

TEST_F(ZephraModelTest, RemovingTwiceLeavesAnotherRunsDirectoryOfTheSameNameAlone)
{
    ZephraModel model;
    model.createWorkDirectory();
    const fs::path directory = KILN::Utf8String(model.workDirectory()).zeroTerminated();
    model.removeWorkDirectory();
    ASSERT_TRUE(fs::create_directory(directory));  // another run takes the name
    model.removeWorkDirectory();
    EXPECT_TRUE(fs::exists(directory));
    fs::remove(directory);
}

TEST_F(ZephraModelTest, PageSpansRebuildThePageListAndNeedTheNavigationDocument)
{
    const std::string spans = "<p><span class=\"page-normal\" id=\"p1\">1</span>本文</p>";
    const fs::path source = book({{"text/a.xhtml", spans}}, {"text/a.xhtml"});
    {
        ZephraModel model;
        model.postProcessEpub(pathString(source), pathString(scratch / "post.epub"), PostProcessOptions());
    }
    const std::string navigation = entry(scratch / "post.epub", "OPS/nav.xhtml");
    EXPECT_NE(navigation.find("<a href=\"text/a.xhtml#p1\">1</a>"), std::string::npos) << navigation;

    const fs::path withoutBody = book({{"text/a.xhtml", spans}}, {"text/a.xhtml"}, "<html><head/></html>");
    ZephraModel model;
    const auto error = raisedError([&] { model.postProcessEpub(pathString(withoutBody), pathString(scratch / "x.epub"),
                                                               PostProcessOptions()); });
    ASSERT_TRUE(error);
    EXPECT_EQ(19, error->number());
}

TEST_F(ZephraModelTest, XhtmlModesMayNameOneFileAsSourceAndDestination)
{
    const fs::path file = scratch / "page.xhtml";
    writeBytes(file, chapter("<p>｜字《じ》_です</p>"));
    ZephraModel model;
    model.postProcessHtml(pathString(file), pathString(file), PostProcessOptions());
    const std::string marked = readBytes(file);
    EXPECT_NE(marked.find("<ruby><rb>字</rb><rp>（</rp><rt>じ</rt><rp>）</rp></ruby><wbr/>です"), std::string::npos)
        << marked;
}

namespace {

// Every entry of an archive by name.
std::map<std::string, std::string> archiveEntries(const fs::path& archive)
{
    std::map<std::string, std::string> entries;
    for (ZipEntry& found : readZip(archive))
        entries[found.name] = std::move(found.content);
    return entries;
}

} // namespace

TEST_F(ZephraModelTest, BooksComeOutTheSameOnOneTwoAndEightWorkers)
{
    if (analyserMissing())
        GTEST_SKIP() << "MeCab cannot start here";
    std::vector<std::pair<std::string, std::string>> chapters;
    std::vector<std::string> spine;
    for (int i = 0; i < 12; ++i) {
        chapters.push_back({"c" + std::to_string(i) + ".xhtml",
                            "<p>第" + std::to_string(i) + "章、今日は雨_です。<span class=\"page-normal\" id=\"p"
                                + std::to_string(i) + "\">" + std::to_string(i) + "</span>山の上。</p>"});
        spine.push_back(chapters.back().first);
    }
    // One chapter large enough to be divided in batches.
    std::string large;
    for (int i = 0; i < 3000; ++i)
        large += "<p>吾輩は猫である。名前はまだ無い。" + std::to_string(i) + "</p>";
    chapters.push_back({"large.xhtml", large});
    spine.push_back("large.xhtml");
    const fs::path source = book(chapters, spine);

    std::map<std::string, std::string> firstPre;
    std::map<std::string, std::string> firstPost;
    for (const char* workers : {"1", "2", "8"}) {
        const ScopedVariable threads("ZEF_THREADS", workers);
        const fs::path pre = scratch / (std::string("pre-") + workers + ".epub");
        const fs::path post = scratch / (std::string("post-") + workers + ".epub");
        {
            ZephraModel model;
            model.preProcessEpub(zef::test::pinned(PreProcessOptions()), pathString(source), pathString(pre));
            model.postProcessEpub(pathString(pre), pathString(post), PostProcessOptions());
        }
        if (firstPre.empty()) {
            firstPre = archiveEntries(pre);
            firstPost = archiveEntries(post);
            EXPECT_NE(firstPre["OPS/large.xhtml"].find("｜吾輩《わがはい》は_｜猫《ねこ》である。"), std::string::npos);
            EXPECT_NE(firstPost["OPS/nav.xhtml"].find("c11.xhtml#p11"), std::string::npos);
            continue;
        }
        EXPECT_TRUE(firstPre == archiveEntries(pre)) << workers << " workers";
        EXPECT_TRUE(firstPost == archiveEntries(post)) << workers << " workers";
    }
    EXPECT_TRUE(noWorkDirectoryLeft());
}

TEST_F(ZephraModelTest, FailingMiddleDocumentIsReportedAsItselfAndLeavesNothing)
{
    std::vector<std::pair<std::string, std::string>> chapters;
    std::vector<std::string> spine;
    for (int i = 0; i < 50; ++i) {
        // Two documents that do not parse: the first in spine order is reported.
        const bool broken = i == 25 || i == 40;
        chapters.push_back({"c" + std::to_string(i) + ".xhtml", broken ? "<p>unclosed" : "<p>｜字《じ》</p>"});
        spine.push_back(chapters.back().first);
    }
    const fs::path source = book(chapters, spine);
    for (const char* workers : {"1", "8"}) {
        const ScopedVariable threads("ZEF_THREADS", workers);
        const fs::path destination = scratch / "post.epub";
        Progress progress;
        ZephraModel model;
        model.setObserver(&progress);
        const auto error = raisedError(
            [&] { model.postProcessEpub(pathString(source), pathString(destination), PostProcessOptions()); });
        ASSERT_TRUE(error) << workers;
        EXPECT_EQ(13, error->number()) << workers;
        const std::string message = KILN::Utf8String(error->message()).zeroTerminated();
        EXPECT_NE(message.find("c25.xhtml"), std::string::npos) << workers << ": " << message;
        ASSERT_GE(progress.started.size(), 26u) << workers;
        for (size_t i = 0; i < progress.started.size(); ++i)
            EXPECT_EQ(i + 1, progress.started[i].first) << workers;
        if (std::string(workers) == "1") {
            EXPECT_EQ(26u, progress.started.size());
        }
        EXPECT_EQ(0, progress.done) << workers;
        EXPECT_FALSE(fs::exists(destination)) << workers;
        model.removeWorkDirectory();
        EXPECT_TRUE(noWorkDirectoryLeft()) << workers;
    }
}
