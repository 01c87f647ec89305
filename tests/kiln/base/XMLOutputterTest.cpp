#include "kiln/base/Comment.h"
#include "kiln/base/Element.h"
#include "kiln/base/NullOFlow.h"
#include "kiln/base/ProcessingInstruction.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/Text.h"
#include "kiln/base/XMLOutputter.h"
#include "kiln/base/XMLScanner.h"

#include "EncodingTestSupport.h"
#include "ExpectIOException.h"
#include "XmlTestSupport.h"

#include <gtest/gtest.h>

using namespace KILN;
using namespace XmlTest;

namespace {

std::u16string serialize(const Node& node, uint32_t flags = 0)
{
    Utf16String text;
    StringOFlow<unsigned short> flow(&text);
    XMLOutputter outputter(flow, flags);
    node.output(outputter);
    return S(text);
}

// The document parsed from source with parseFlags, written with outputFlags.
std::u16string rewrite(const std::u16string& source, uint32_t parseFlags = 0, uint32_t outputFlags = 0)
{
    const Parsed parsed = parse(source, parseFlags);
    if (!parsed.document) {
        ADD_FAILURE() << parsed.report;
        return u"";
    }
    return serialize(*parsed.document, outputFlags);
}

constexpr uint32_t entityMode = XMLOutputter::entityMode;

} // namespace

TEST(XMLOutputterTest, WritesBackWhatTheParserKept)
{
    const struct {
        const char16_t* source;
        const char16_t* written;
    } cases[] = {
        // The declaration in fixed order, with a space before "?>".
        {u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a/>\n", u"<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<a/>\n"},
        {u"<?xml version='1.0'   standalone='no'?><a/>", u"<?xml version=\"1.0\" standalone=\"no\" ?><a/>"},
        // Comments, PIs and whitespace in the prolog, the content and the epilog.
        {u"<!--c-->\r\n<?pi  some data?><a>\r\n\t<?t?><!-- x --></a><!--e--><?end?>",
         u"<!--c-->\r\n<?pi some data?><a>\r\n\t<?t?><!-- x --></a><!--e--><?end?>"},
        {u"<a><![CDATA[<&>\"']]></a>", u"<a><![CDATA[<&>\"']]></a>"},
        // Attributes in name order; the five specials escaped everywhere.
        {u"<a z=\"1\" b='2' a=\"3\"/>", u"<a a=\"3\" b=\"2\" z=\"1\"/>"},
        {u"<a t='&quot;\"&apos;'>&lt;&gt;&amp;'\"></a>", u"<a t=\"&quot;&quot;&apos;\">&lt;&gt;&amp;&apos;&quot;&gt;</a>"},
        // Tabs, line ends and non-ASCII text pass unescaped.
        {u"<p t=\"a\tb\">草枕\r\n\t𠮷</p>", u"<p t=\"a\tb\">草枕\r\n\t𠮷</p>"},
        // A start tag directly followed by its end tag becomes an empty-element tag.
        {u"<a><b></b><c> </c></a>", u"<a><b/><c> </c></a>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rewrite(c.source), c.written);
}

TEST(XMLOutputterTest, EmptyElementForms)
{
    const std::u16string source = u"<a><b></b><c/></a>";
    const uint32_t remember = XMLScanner::rememberEndTagForm;
    EXPECT_EQ(rewrite(source, 0, XMLOutputter::spaceBeforeEmptyClose), u"<a><b /><c /></a>");
    EXPECT_EQ(rewrite(source, remember, XMLOutputter::keepEndTagForm), u"<a><b></b><c/></a>");
    EXPECT_EQ(rewrite(source, remember, XMLOutputter::keepEndTagForm | XMLOutputter::spaceBeforeEmptyClose),
              u"<a><b></b><c /></a>");
    // Either side alone is not enough.
    EXPECT_EQ(rewrite(source, remember, 0), u"<a><b/><c/></a>");
    EXPECT_EQ(rewrite(source, 0, XMLOutputter::keepEndTagForm), u"<a><b/><c/></a>");

    // An element whose only child is an empty text is not childless.
    Document document(nullptr);
    Element* p = new Element(&document, U(u"p"));
    document.appendChild(p);
    p->appendChild(new Text(&document, nullptr));
    EXPECT_EQ(serialize(document), u"<p></p>");
}

TEST(XMLOutputterTest, ReferenceMarkersBecomeReferencesInEntityMode)
{
    const uint32_t marking = XMLScanner::markReferences | XMLScanner::tolerateUndefinedEntities;
    const std::u16string source = u"<p a=\"&#xA9;\">&nbsp;&#169;&amp;</p>";
    EXPECT_EQ(rewrite(source, marking, entityMode), u"<p a=\"&#xA9;\">&nbsp;&#169;&amp;</p>");
    EXPECT_EQ(rewrite(source, marking, 0),
              u"<p a=\"\u0001#xA9\u0002\">\u0001nbsp\u0002\u0001#169\u0002\u0001amp\u0002</p>");
    // Predefined entities expanded while marking: escaped again on the way out.
    EXPECT_EQ(rewrite(source, marking | XMLScanner::expandPredefinedWhenMarking, entityMode),
              u"<p a=\"&#xA9;\">&nbsp;&#169;&amp;</p>");
    // Expanded references come back as characters.
    EXPECT_EQ(rewrite(u"<p>&#169;&#x3042;&amp;</p>", 0, entityMode), u"<p>©あ&amp;</p>");
}

TEST(XMLOutputterTest, DocumentWithoutDeclarationGetsNoEmptyDeclaration)
{
    // "<?xml ?>" with no version would make the file unreadable.
    EXPECT_EQ(rewrite(u"<a/>"), u"<a/>");
    EXPECT_EQ(rewrite(u"\n<!--c--><a/>", 0, XMLOutputter::noSpaceBeforeDeclClose), u"\n<!--c--><a/>");
    EXPECT_EQ(rewrite(u"<?xml version=\"1.1\" encoding=\"utf-8\"?><a/>", 0, XMLOutputter::noSpaceBeforeDeclClose),
              u"<?xml version=\"1.1\" encoding=\"utf-8\"?><a/>");
    Document document(nullptr);
    EXPECT_EQ(serialize(document), u"");
}

TEST(XMLOutputterTest, DebugNamesDumpTheFourNames)
{
    EXPECT_EQ(rewrite(u"<a xmlns=\"urn:x\"><p:b xmlns:p=\"urn:p\"/></a>", 0, XMLOutputter::debugNames),
              u"<a [NODE_NAME:a PREFIX: LOCAL_NAME:a NAMESPACE_URI:urn:x] xmlns=\"urn:x\">"
              u"<p:b [NODE_NAME:p:b PREFIX:p LOCAL_NAME:b NAMESPACE_URI:urn:p] xmlns:p=\"urn:p\"/></a>");
    EXPECT_EQ(rewrite(u"<a/>", XMLScanner::noNamespaces, XMLOutputter::debugNames),
              u"<a [NODE_NAME:a PREFIX:null LOCAL_NAME:null NAMESPACE_URI:null]/>");
}

TEST(XMLOutputterTest, InternalSubsetIsWrittenInSourceOrder)
{
    const std::u16string source =
        u"<!DOCTYPE a PUBLIC \"-//X//DTD A//EN\" 'a.dtd' [\n"
        u"<!ELEMENT a (b, (c | d)+, e?)*>\n"
        u"<!ELEMENT b (#PCDATA)>\n"
        u"<!ELEMENT c ( #PCDATA | b | e )*>\n"
        u"<!ELEMENT d EMPTY>\n"
        u"<!ELEMENT d ANY>\n"
        u"<!ATTLIST a x CDATA #IMPLIED\n  y (p|q) 'p' z NOTATION (n | m) #REQUIRED w ID #FIXED \"i&amp;j\">\n"
        u"<!ATTLIST b v NMTOKENS #IMPLIED>\n"
        u"<!NOTATION n SYSTEM \"n.bin\">\n"
        u"<!NOTATION m PUBLIC \"-//M\">\n"
        u"<!ENTITY e1 \"text &lt; more\">\n"
        u"<!ENTITY e2 SYSTEM 'say \"e2\".xml'>\n"
        u"<!ENTITY e3 PUBLIC \"-//E3\" \"e3.bin\" NDATA n>\n"
        u"<!ENTITY % p \"param\">%p;\n"
        u"<!-- c --><?pi x?>\n"
        u"]>\n<a/>";
    const std::u16string written =
        u"<!DOCTYPE a PUBLIC \"-//X//DTD A//EN\" \"a.dtd\" [\n"
        u"<!ELEMENT a (b,(c|d)+,e?)* >\n"
        u"<!ELEMENT b (#PCDATA) >\n"
        u"<!ELEMENT c (#PCDATA|b|e)* >\n"
        u"<!ELEMENT d EMPTY >\n"
        u"<!ELEMENT d ANY >\n"
        u"<!ATTLIST a x CDATA #IMPLIED y (p |q) \"p\" z NOTATION (n |m) #REQUIRED w ID #FIXED \"i&amp;j\" >\n"
        u"<!ATTLIST b v NMTOKENS #IMPLIED >\n"
        u"<!NOTATION n SYSTEM \"n.bin\" >\n"
        u"<!NOTATION m PUBLIC \"-//M\" >\n"
        u"<!ENTITY e1 \"text &lt; more\" >\n"
        // A literal holding a double quote keeps its apostrophes.
        u"<!ENTITY e2 SYSTEM 'say \"e2\".xml' >\n"
        u"<!ENTITY e3 PUBLIC \"-//E3\" \"e3.bin\" NDATA n >\n"
        u"<!ENTITY % p \"param\" >\n"
        u"<!-- c --><?pi x?>\n"
        u"]>\n<a/>";
    EXPECT_EQ(rewrite(source), written);
    EXPECT_EQ(rewrite(u"<!DOCTYPE html><html/>"), u"<!DOCTYPE html><html/>");
    EXPECT_EQ(rewrite(u"<!DOCTYPE html SYSTEM \"about:legacy-compat\"><html/>"),
              u"<!DOCTYPE html SYSTEM \"about:legacy-compat\"><html/>");
}

TEST(XMLOutputterTest, NodesBuiltByTheModel)
{
    Document document(nullptr);
    Element* img = new Element(&document, U(u"img"));
    document.appendChild(img);
    img->setAttribute(U(u"src"), nullptr);
    const Utf16String alt = U(u"a \"b\" & 'c'");
    img->setAttribute(U(u"alt"), &alt);
    EXPECT_EQ(serialize(*img), u"<img alt=\"a &quot;b&quot; &amp; &apos;c&apos;\" src=\"\"/>");

    Element p(&document, U(u"p"));
    const Utf16String marked = U(u"\u0001nbsp\u0002>");
    p.appendChild(new Text(&document, &marked));
    p.appendChild(new Comment(&document, nullptr));
    p.appendChild(new ProcessingInstruction(&document, U(u"t"), U(u"")));
    EXPECT_EQ(serialize(p, entityMode), u"<p>&nbsp;&gt;<!----><?t?></p>");
    EXPECT_EQ(serialize(p), u"<p>\u0001nbsp\u0002&gt;<!----><?t?></p>");
}

TEST(XMLOutputterTest, DeepTreesDoNotExhaustTheStack)
{
    // A nesting far deeper than the stack could take in recursion.
    Document deep(nullptr);
    Node* parent = &deep;
    for (int i = 0; i < 300000; ++i)
        parent = parent->appendChild(new Element(&deep, U(u"d")));
    NullOFlow nowhere;
    XMLOutputter outputter(nowhere, 0);
    deep.output(outputter);

    // The walk writes each start tag, empty tag and end tag in its place.
    constexpr int depth = 1000;
    Document document(nullptr);
    parent = &document;
    for (int i = 0; i < depth; ++i)
        parent = parent->appendChild(new Element(&document, U(u"d")));
    parent->appendChild(new Text(&document, nullptr));
    parent->getParentNode()->appendChild(new Element(&document, U(u"e")));
    const std::u16string written = serialize(document);
    ASSERT_EQ(written.size(), size_t(depth) * 7 + 4);
    EXPECT_EQ(written.substr(0, 9), u"<d><d><d>");
    EXPECT_EQ(written.substr(3 * depth - 3, 18), u"<d></d><e/></d></d");
    EXPECT_EQ(written.substr(written.size() - 8), u"</d></d>");
}

TEST(XMLOutputterTest, FailuresOfTheFlowPassThrough)
{
    const Parsed parsed = parse(u"<a>text</a>");
    ASSERT_TRUE(parsed.document);
    StringOFlow<unsigned short> closed(nullptr);
    XMLOutputter outputter(closed, 0);
    EXPECT_IO_EXCEPTION(parsed.document->output(outputter), IOException::NotOpen, "kiln/base/StringOFlow");
    StringOFlow<char> bytes(nullptr);
    TString<char> narrow;
    bytes.open(&narrow);
    XMLOutputter wrongWidth(bytes, 0);
    EXPECT_IO_EXCEPTION(parsed.document->output(wrongWidth), IOException::WidthNotCarried, "kiln/base/StringOFlow");
    EXPECT_EQ(narrow.length(), 0u);
}

TEST(XMLOutputterTest, StreamedUtf8IsTheSerializedTextEncoded)
{
    // A document far larger than the stream's buffer, with characters above
    // U+FFFF throughout: the streamed bytes are the UTF-16 serialization run
    // through the converter chain.
    std::u16string source = u"<?xml version=\"1.0\"?><book>";
    for (int i = 0; source.size() < 400000; ++i)
        source += u"<p id=\"p" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"\">\x8349\x6795 &amp; \xD842\xDFB7 text</p>\r\n";
    source += u"</book>";
    const Parsed parsed = parse(source);
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const std::u16string text = serialize(*parsed.document, entityMode);
    std::string utf16;
    for (char16_t unit : text)
        utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const std::string expected = test::convertBytes(EncodingRegistry::Utf16N, EncodingRegistry::Utf8N, utf16);

    for (const bool mark : {false, true}) {
        TString<char> bytes;
        StringOFlow<char> flow(&bytes);
        XMLOutputter::writeUtf8(*parsed.document, flow, entityMode, mark);
        EXPECT_TRUE(std::string(bytes.data(), bytes.length()) == (mark ? "\xEF\xBB\xBF" : "") + expected) << mark;
        // The flow of bytes stays open for the caller.
        EXPECT_TRUE(flow.isOpen());
    }
}
