#include "model/ContentDocument.h"

#include "kiln/base/Text.h"
#include "support/BookFiles.h"
#include "support/RaisedError.h"

#include <gtest/gtest.h>

using namespace zef::test;

namespace {

const std::string mark = "\xEF\xBB\xBF";

// Reads and writes back the content document text; answers what was written.
std::string roundTrip(const std::string& name, const std::string& text)
{
    const fs::path file = freshFolder(name) / "page.xhtml";
    writeBytes(file, text);
    std::unique_ptr<KILN::Document> document = readContent(pathString(file));
    writeContent(pathString(file), *document);
    return readBytes(file);
}

} // namespace

TEST(ContentDocument, ReferencesComeBackAsWritten)
{
    const std::string body =
        "<body><p title=\"a&amp;b &lt; &#x6F22;&nbsp;&own;\">&amp; &lt; &gt; &#x6F22;&#28450;&nbsp;&own;"
        "&#x1F600;</p><p>&quot;q&quot; &apos;</p></body>";
    const std::string source = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<!DOCTYPE html [<!ENTITY own \"mine\">]>\n"
                               "<html xmlns=\"http://www.w3.org/1999/xhtml\">" + body + "</html>";
    const std::string written = roundTrip("references", source);
    EXPECT_EQ(written.substr(0, 3), mark);
    EXPECT_NE(written.find(body), std::string::npos) << written;
    EXPECT_NE(written.find("<!ENTITY own \"mine\" >"), std::string::npos) << written;
}

TEST(ContentDocument, DocumentWithoutBodyIsWrittenBack)
{
    const std::string source = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
                               "<html><head z=\"1\" a=\"2\"><title>\x93\xfa\x96\x7b</title></head>"
                               "<div><body>inner</body></div></html>";
    const fs::path file = freshFolder("no-body") / "page.xhtml";
    writeBytes(file, source);
    std::unique_ptr<KILN::Document> document = readContent(pathString(file));
    EXPECT_EQ(findBody(*document), nullptr);
    writeContent(pathString(file), *document);
    EXPECT_EQ(readBytes(file), mark + "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                                      "<html><head a=\"2\" z=\"1\"><title>\xe6\x97\xa5\xe6\x9c\xac</title></head>"
                                      "<div><body>inner</body></div></html>");
}

TEST(ContentDocument, FindBodyLooksAmongTheRootsChildren)
{
    const fs::path file = freshFolder("body") / "page.xhtml";
    writeBytes(file, "<!-- c --><html><head/>text<body id=\"first\"/><body id=\"second\"/></html>");
    std::unique_ptr<KILN::Document> document = readContent(pathString(file));
    KILN::Element* body = findBody(*document);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->getPreviousSibling()->getNodeType(), KILN::Node::TEXT_NODE);
    EXPECT_EQ(body->getNextSibling()->getNextSibling(), nullptr);
}

TEST(ContentDocument, FailuresNameTheFile)
{
    const fs::path folder = freshFolder("failures");
    const std::string missing = (folder / "missing.xhtml").string();
    auto error = raisedError([&] { readContent(pathString(missing)); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 12);
    EXPECT_EQ(std::string(error->text()), "Can't open a xhtml file (" + missing + ") for reading.");
    error = raisedError([&] { readContent(pathString(folder)); });
    EXPECT_EQ(error ? error->number() : 0, 12);

    const fs::path broken = folder / "broken.xhtml";
    writeBytes(broken, "<html><body></html>");
    // The grammar error travels with the model's error, placed and named
    // as the caller says, instead of going to standard error on its own.
    testing::internal::CaptureStderr();
    error = raisedError([&] { readContent(pathString(broken), "OEBPS/broken.xhtml"); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 13);
    EXPECT_EQ(std::string(error->text()), "Can't parse the xhtml file (" + broken.string() + ").");
    ASSERT_EQ(error->diagnostics().size(), 1u);
    EXPECT_EQ(error->diagnostics()[0],
              "OEBPS/broken.xhtml:1:20: error: XML error 171: invalid end of source. near \"l><body></html>\"");

    const fs::path good = folder / "good.xhtml";
    writeBytes(good, "<html/>");
    std::unique_ptr<KILN::Document> document = readContent(pathString(good));
    const std::string unwritable = (folder / "no/such/page.xhtml").string();
    error = raisedError([&] { writeContent(pathString(unwritable), *document); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 15);
    EXPECT_EQ(std::string(error->text()), "Can't open for writing the xhtml file (" + unwritable + ").");
}
