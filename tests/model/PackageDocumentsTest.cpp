#include "model/PackageDocuments.h"

#include "kiln/base/NamedNodeMap.h"
#include "model/Href.h"
#include "support/BookFiles.h"
#include "support/RaisedError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace zef::test;

namespace {

const char* const opfRootfile =
    "<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/>";

void writeContainer(const fs::path& metaInf, const std::string& rootfiles)
{
    writeBytes(metaInf / "container.xml",
               "<?xml version=\"1.0\"?>\n"
               "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
               "<rootfiles>" + rootfiles + "</rootfiles></container>");
}

// What locateOpf answers for the book in folder: the path below the folder,
// or "-" when it answers false.
std::string located(const fs::path& folder)
{
    KILN::PathString opf;
    if (!locateOpf(pathString(folder), opf))
        return "-";
    const std::string path = utf8(KILN::Utf8String(opf));
    const std::string prefix = folder.string() + "/";
    return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : "outside:" + path;
}

std::string opf(const std::string& manifest, const std::string& spine = "<itemref idref=\"c1\"/>",
                const std::string& root = "package")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root +
           " xmlns=\"http://www.idpf.org/2007/opf\" xmlns:opf=\"http://www.idpf.org/2007/opf\" version=\"3.0\">"
           "<metadata/><manifest>" + manifest + "</manifest><spine>" + spine + "</spine></" + root + ">";
}

const char* const navItem =
    "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>";

struct Loaded {
    PackageDocuments package;
    std::string navigation;
    std::optional<ZephraModelError> error;
};

// Loads text as the package document "OEBPS/content.opf" of a new book.
Loaded load(const std::string& name, const std::string& text)
{
    const fs::path book = freshFolder(name);
    writeBytes(book / "OEBPS/content.opf", text);
    Loaded loaded;
    loaded.error = raisedError([&] {
        loaded.navigation = utf8(KILN::Utf8String(
            loadPackage(pathString(book / "OEBPS/content.opf"), pathString(book), loaded.package)));
    });
    if (!loaded.error)
        loaded.navigation = loaded.navigation.substr(book.string().size());
    return loaded;
}

int32_t loadError(const std::string& name, const std::string& text)
{
    const Loaded loaded = load(name, text);
    return loaded.error ? loaded.error->number() : 0;
}

std::vector<std::string> spineOf(const std::string& manifest, const std::string& spine)
{
    const Loaded loaded = load("spine", opf(navItem + manifest, spine));
    EXPECT_FALSE(loaded.error);
    std::vector<LinkPair> pairs;
    spineList(loaded.package, pairs);
    std::vector<std::string> listed;
    for (const LinkPair& pair : pairs)
        listed.push_back(utf8(pair.href) + (pair.overlay.isEmpty() ? "" : " + " + utf8(pair.overlay)));
    return listed;
}

} // namespace

TEST(LocateOpf, FirstRootfileOfThePackageMediaTypeDecides)
{
    const fs::path book = freshFolder("rootfiles");
    writeContainer(book / "META-INF",
                   "<rootfile full-path=\"OEBPS/book.xhtml\" media-type=\"application/xhtml+xml\"/>"
                   "<other/>" + std::string(opfRootfile) +
                   "<rootfile full-path=\"second.opf\" media-type=\"application/oebps-package+xml\"/>");
    EXPECT_EQ(located(book), "OEBPS/content.opf");

    writeContainer(book / "META-INF", "<rootfile full-path=\"x.xhtml\" media-type=\"application/xhtml+xml\"/>");
    EXPECT_EQ(located(book), "-");
    // Without a full-path the package root itself would be taken.
    writeContainer(book / "META-INF", "<rootfile media-type=\"application/oebps-package+xml\"/>");
    EXPECT_EQ(located(book), "-");
}

TEST(LocateOpf, AnswersFalseWithoutAUsableContainer)
{
    const fs::path book = freshFolder("no-container");
    EXPECT_EQ(located(book), "-");
    fs::create_directories(book / "META-INF");
    EXPECT_EQ(located(book), "-");
    fs::create_directories(book / "META-INF/container.xml");
    EXPECT_EQ(located(book), "-");
    fs::remove(book / "META-INF/container.xml");
    writeBytes(book / "META-INF/container.xml", "<container><rootfiles>");
    testing::internal::CaptureStderr();
    EXPECT_EQ(located(book), "-");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ERROR:"), std::string::npos);
    writeBytes(book / "META-INF/container.xml", "<box><rootfiles>" + std::string(opfRootfile) + "</rootfiles></box>");
    EXPECT_EQ(located(book), "-");
}

TEST(LocateOpf, ContainerElementsAreFoundByNamespace)
{
    const fs::path book = freshFolder("prefixed-container");
    writeBytes(book / "META-INF/container.xml",
               "<c:container version=\"1.0\" xmlns:c=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
               "<c:rootfiles><rootfile full-path=\"wrong.opf\" media-type=\"application/oebps-package+xml\"/>"
               "<c:rootfile full-path=\"my%20book/content.opf\" media-type=\"application/oebps-package+xml\"/>"
               "</c:rootfiles></c:container>");
    // The unprefixed rootfile is in no namespace: not a rootfile.
    EXPECT_EQ(located(book), "my book/content.opf");
    writeBytes(book / "META-INF/container.xml", "<container><rootfiles>" + std::string(opfRootfile) +
                                                    "</rootfiles></container>");
    EXPECT_EQ(located(book), "-");
}

TEST(LocateOpf, SearchGoesOnPastFoldersWithoutMetaInf)
{
    const fs::path book = freshFolder("nested");
    fs::create_directories(book / "a/deep/deeper");
    fs::create_directories(book / "b/META-INF");
    writeContainer(book / "b/META-INF", opfRootfile);
    EXPECT_EQ(located(book), "b/OEBPS/content.opf");

    // A folder named like it but not exactly is searched, not taken.
    fs::create_directories(book / "a/meta-inf/META-INF");
    writeContainer(book / "a/meta-inf/META-INF", opfRootfile);
    EXPECT_EQ(located(book), "a/meta-inf/OEBPS/content.opf");
}

TEST(LocateOpf, MetaInfThatIsALinkIsNoFolder)
{
    const fs::path book = freshFolder("linked");
    const fs::path elsewhere = freshFolder("linked-target");
    writeContainer(elsewhere, opfRootfile);
    fs::create_directory_symlink(elsewhere, book / "META-INF");
    EXPECT_EQ(located(book), "-");
}

TEST(LocateOpf, FullPathLeavingTheBookIsRefused)
{
    const fs::path book = freshFolder("escape");
    for (const char* fullPath : {"../content.opf", "OEBPS/../../content.opf", "/etc/passwd", "./../x.opf"}) {
        writeContainer(book / "META-INF", std::string("<rootfile full-path=\"") + fullPath +
                                              "\" media-type=\"application/oebps-package+xml\"/>");
        const std::string answer = located(book);
        EXPECT_TRUE(answer == "-" || answer == "etc/passwd") << fullPath << " -> " << answer;
    }
    writeContainer(book / "META-INF", "<rootfile full-path=\"OEBPS/../pkg.opf\" "
                                      "media-type=\"application/oebps-package+xml\"/>");
    EXPECT_EQ(located(book), "OEBPS/../pkg.opf");
}

TEST(StaysInside, ResolvesDotsBeforeComparingWholeComponents)
{
    const KILN::PathString root = pathString("/w/book");
    const std::pair<const char*, bool> cases[] = {
        {"/w/book/a.opf", true},       {"/w/book/a/../b.opf", true}, {"/w/book/./a", true},
        {"/w/book//a", true},          {"/w/book", false},           {"/w/book/", false},
        {"/w/book/a/..", false},       {"/w/book/../x", false},      {"/w/book/a/../../x", false},
        {"/w/bookshelf/a", false},     {"/w/boo", false},            {"/w/../w/book/a", true},
        {"w/book/a", false},           {"/../../w/book/a", true},
    };
    for (const auto& [path, inside] : cases)
        EXPECT_EQ(staysInside(root, pathString(path)), inside) << path;
    EXPECT_TRUE(staysInside(pathString("book"), pathString("book/a")));
    EXPECT_FALSE(staysInside(pathString("book"), pathString("book/../../book/a")));
}

TEST(LoadPackage, FindsItsElementsAndTheNavigationDocument)
{
    const Loaded loaded = load("load", opf("<item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\"/>"
                                           "<item id=\"nav\" href=\"text/nav%20page.xhtml\" "
                                           "media-type=\"application/xhtml+xml\" properties=\"nav\"/>"));
    ASSERT_FALSE(loaded.error) << loaded.error->text();
    // Hrefs are URLs: the file is named with a space.
    EXPECT_EQ(loaded.navigation, "/OEBPS/text/nav page.xhtml");
    ASSERT_TRUE(loaded.package.document && loaded.package.package);
    EXPECT_EQ(loaded.package.metadata->getParentNode(), loaded.package.package);
    EXPECT_EQ(loaded.package.spine->getParentNode(), loaded.package.package);
    EXPECT_EQ(loaded.package.manifest->getFirstChild()->getNextSibling()->getNextSibling(), nullptr);
}

TEST(LoadPackage, RaisesItsErrorsWithTheirTexts)
{
    const fs::path book = freshFolder("unreadable");
    PackageDocuments package;
    auto error = raisedError([&] { loadPackage(pathString(book / "none.opf"), pathString(book), package); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 9);
    EXPECT_STREQ(error->text(), "Can't open the opf file.");
    error = raisedError([&] { loadPackage(pathString(book), pathString(book), package); });
    EXPECT_EQ(error ? error->number() : 0, 9);

    testing::internal::CaptureStderr();
    const Loaded broken = load("broken", "<package><metadata>");
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(broken.error);
    EXPECT_EQ(broken.error->number(), 10);
    EXPECT_STREQ(broken.error->text(), "Opf file XML parse error.");

    const Loaded foreign = load("foreign-root", "<book xmlns=\"http://www.idpf.org/2007/opf\"/>");
    ASSERT_TRUE(foreign.error);
    EXPECT_EQ(foreign.error->number(), 11);
    EXPECT_STREQ(foreign.error->text(), "Opf file XML schema error.");
    // What was read stays with the caller.
    EXPECT_TRUE(foreign.package.document);

    const Loaded noNav = load("no-nav", opf(""));
    ASSERT_TRUE(noNav.error);
    EXPECT_EQ(noNav.error->number(), 17);
    EXPECT_STREQ(noNav.error->text(), "Can't get the NAV path.");
}

TEST(LoadPackage, SchemaNeedsTheThreeChildrenInThePackageNamespace)
{
    EXPECT_EQ(loadError("no-spine", "<package xmlns=\"http://www.idpf.org/2007/opf\"><metadata/><manifest>" +
                                        std::string(navItem) + "</manifest></package>"),
              11);
    EXPECT_EQ(loadError("no-namespace", "<package><metadata/><manifest>" + std::string(navItem) +
                                            "</manifest><spine/></package>"),
              11);
    EXPECT_EQ(loadError("other-namespace", "<package xmlns=\"http://www.idpf.org/2007/opf\" xmlns:x=\"urn:x\">"
                                               "<metadata/><manifest>" + std::string(navItem) +
                                               "</manifest><x:spine/></package>"),
              11);
    // The root must be in the package namespace too.
    EXPECT_EQ(loadError("unprefixed-root", "<package xmlns:o=\"http://www.idpf.org/2007/opf\"><o:metadata/>"
                                           "<o:manifest>" + std::string(navItem) + "</o:manifest><o:spine/></package>"),
              11);
}

TEST(LoadPackage, PrefixedPackageElementsAreFoundByNamespace)
{
    const std::string item = "<opf:item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
                             "properties=\"nav\"/><opf:item id=\"c\" href=\"c.xhtml\" "
                             "media-type=\"application/xhtml+xml\"/>";
    const Loaded loaded = load("prefixed", "<opf:package xmlns:opf=\"http://www.idpf.org/2007/opf\"><opf:metadata/>"
                                           "<opf:manifest>" + item + "</opf:manifest><opf:spine><opf:itemref idref=\"c\"/>"
                                           "</opf:spine></opf:package>");
    ASSERT_FALSE(loaded.error) << loaded.error->text();
    EXPECT_EQ(loaded.navigation, "/OEBPS/nav.xhtml");
    std::vector<LinkPair> pairs;
    spineList(loaded.package, pairs);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(std::string(pairs[0].href.data(), pairs[0].href.length()), "c.xhtml");
}

TEST(LoadPackage, NavigationItemMustMatchExactly)
{
    const char* const rejected[] = {
        "<item id=\"nav\" href=\"nav.xhtml\" properties=\"nav\"/>",
        "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"text/html\" properties=\"nav\"/>",
        "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"navigation\"/>",
        "<item id=\"nav\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>",
        "<item id=\"nav\" href=\"../../nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>",
        "<item id=\"nav\" href=\"a/../../../etc/nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>",
    };
    for (const char* item : rejected)
        EXPECT_EQ(loadError("nav", opf(item)), 17) << item;
    const Loaded later = load("later-nav", opf(std::string(rejected[2]) + rejected[0] +
                                               "<item id=\"n2\" href=\"../OEBPS/n.xhtml\" "
                                               "media-type=\"application/xhtml+xml\" properties=\"nav\"/>"));
    EXPECT_EQ(later.navigation, "/OEBPS/n.xhtml");
}

TEST(LoadPackage, PropertiesAreATokenList)
{
    for (const char* properties : {"nav scripted", "scripted nav", " nav\t", "svg\nnav mathml"}) {
        const Loaded loaded = load("tokens", opf(std::string("<item id=\"n\" href=\"n.xhtml\" ") +
                                                 "media-type=\"Application/XHTML+XML\" properties=\"" + properties + "\"/>"));
        ASSERT_FALSE(loaded.error) << properties << ": " << loaded.error->text();
        EXPECT_EQ(loaded.navigation, "/OEBPS/n.xhtml") << properties;
    }
}

TEST(SpineList, ResolvableItemrefsInSpineOrder)
{
    const std::string manifest =
        "<item id=\"c1\" href=\"c1.xhtml\" media-type=\"application/xhtml+xml\" media-overlay=\"s1\"/>"
        "<item id=\"c2\" href=\"t/c%202.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"img\" href=\"p.png\" media-type=\"image/png\"/>"
        "<item id=\"svg\" href=\"p.svg\" media-type=\"image/svg+xml\"/>"
        "<item id=\"json\" href=\"d.json\" media-type=\"application/json\" fallback=\"dmg\"/>"
        "<item id=\"dmg\" href=\"d.dmg\" media-type=\"application/x-apple-diskimage\" fallback=\"page\"/>"
        "<item id=\"page\" href=\"page.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"loop\" href=\"l.json\" media-type=\"application/json\" fallback=\"loop2\"/>"
        "<item id=\"loop2\" href=\"l2.json\" media-type=\"application/json\" fallback=\"loop\"/>"
        "<item id=\"nomedia\" href=\"x.xhtml\"/>"
        "<item id=\"s1\" href=\"c1.smil\" media-type=\"application/smil+xml\"/>"
        "<item id=\"c1\" href=\"duplicate.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"c3\" href=\"c3.xhtml\" media-type=\"application/xhtml+xml\" media-overlay=\"missing\"/>";
    const std::string spine = "<itemref idref=\"img\"/><itemref idref=\"svg\"/><itemref idref=\"loop\"/>"
                              "<itemref idref=\"c2\"/><itemref idref=\"unknown\"/><itemref idref=\"nomedia\"/>"
                              "<itemref/><other idref=\"c3\"/><itemref idref=\"c1\" linear=\"no\"/>"
                              "<itemref idref=\"c3\"/><itemref idref=\"json\"/>";
    // Images, SVG and foreign resources are no content documents; a foreign
    // one stands for the XHTML item its fallback chain leads to.
    const std::vector<std::string> expected = {"t/c%202.xhtml", "c1.xhtml + c1.smil", "c3.xhtml", "page.xhtml"};
    EXPECT_EQ(spineOf(manifest, spine), expected);
}

TEST(WriteOpf, SetsTheDirectionAndWritesUtf8WithAMark)
{
    const fs::path book = freshFolder("write-opf");
    const std::string japanese = "\xe6\x97\xa5\xe6\x9c\xac";  // 日本 in UTF-8
    const std::string shiftJis = "\x93\xfa\x96\x7b";         // 日本 in Shift_JIS
    writeBytes(book / "OEBPS/content.opf",
               "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\">"
               "<metadata><title>" + shiftJis + "</title></metadata><manifest>" + std::string(navItem) +
               "</manifest><spine page-progression-direction=\"ltr\"/></package>");
    const KILN::PathString opfPath = pathString(book / "OEBPS/content.opf");
    PackageDocuments package;
    loadPackage(opfPath, pathString(book), package);
    setPageProgression(package, true);
    ASSERT_TRUE(writeOpf(opfPath, package));
    const std::string written = readBytes(book / "OEBPS/content.opf");
    EXPECT_EQ(written.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(written.find("encoding=\"UTF-8\""), std::string::npos) << written;
    EXPECT_NE(written.find("<title>" + japanese + "</title>"), std::string::npos) << written;
    EXPECT_NE(written.find("<spine page-progression-direction=\"rtl\""), std::string::npos) << written;

    setPageProgression(package, false);
    ASSERT_TRUE(writeOpf(opfPath, package));
    EXPECT_NE(readBytes(book / "OEBPS/content.opf").find("page-progression-direction=\"ltr\""), std::string::npos);
    EXPECT_FALSE(writeOpf(pathString(book / "missing/content.opf"), package));
    EXPECT_FALSE(fs::exists(book / "missing"));
}

TEST(WriteOpf, DeclarationWithoutEncodingGetsNone)
{
    const fs::path book = freshFolder("no-encoding");
    writeBytes(book / "content.opf", "<?xml version=\"1.0\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\">"
                                     "<metadata/><manifest>" + std::string(navItem) + "</manifest><spine/></package>");
    PackageDocuments package;
    loadPackage(pathString(book / "content.opf"), pathString(book), package);
    ASSERT_TRUE(writeOpf(pathString(book / "content.opf"), package));
    const std::string written = readBytes(book / "content.opf");
    EXPECT_EQ(written.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(written.find("encoding"), std::string::npos) << written;
}
