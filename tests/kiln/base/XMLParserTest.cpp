#include "kiln/base/Attr.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/Element.h"
#include "kiln/base/XMLDecl.h"
#include "kiln/base/XMLParseError.h"
#include "kiln/base/XMLParser.h"

#include "XmlTreeDump.h"

#include <iterator>

using namespace KILN;
using XmlTest::dump;
using XmlTest::expectedReport;
using XmlTest::expectErrors;
using XmlTest::dumpRoot;
using XmlTest::parse;
using XmlTest::S;
using XmlTest::U;

namespace {

constexpr uint32_t NoNamespaces = XMLScanner::noNamespaces;
constexpr uint32_t Tolerate = XMLScanner::tolerateUndefinedEntities;
constexpr uint32_t Keep = XMLScanner::keepReferences;
constexpr uint32_t Mark = XMLScanner::markReferences;
constexpr uint32_t ExpandPredefined = XMLScanner::expandPredefinedWhenMarking;
constexpr uint32_t LtInValues = XMLScanner::ltInAttributeValues;
constexpr uint32_t EndTagForm = XMLScanner::rememberEndTagForm;
// What the conversion model passes for XHTML content documents.
constexpr uint32_t Xhtml = NoNamespaces | Tolerate | Keep | Mark | ExpandPredefined | LtInValues
                              | XMLScanner::attlistWithoutElement;
static_assert(Xhtml == 0x2F06);

std::u16string rootOf(const std::u16string& text, uint32_t flags = 0)
{
    XmlTest::Parsed parsed = parse(text, flags);
    EXPECT_EQ(parsed.report, "");
    return parsed.document ? dumpRoot(parsed.document.get()) : u"(failed)";
}

} // namespace

TEST(XMLParserPrologTest, DeclarationMiscAndRoot)
{
    XmlTest::Parsed parsed = parse(u"<?xml version=\"1.0\" encoding='UTF-8' standalone=\"yes\"?>\n<!-- c --><?pi data?>\r\n<r/>  <!--after--> trailing junk <");
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Document& d = *parsed.document;
    NamedNodeMap* decl = d.getXMLDecl()->getAttributes();
    EXPECT_EQ(S(decl->getNamedItem(U(u"version"))->getNodeValue()), u"1.0");
    EXPECT_EQ(S(decl->getNamedItem(U(u"encoding"))->getNodeValue()), u"UTF-8");
    EXPECT_EQ(S(decl->getNamedItem(U(u"standalone"))->getNodeValue()), u"yes");
    std::u16string children;
    for (const Node* child = d.getFirstChild(); child; child = child->getNextSibling())
        children += dump(child) + u"|";
    EXPECT_EQ(children, u"(encoding=UTF-8 standalone=yes version=1.0)|'\n'|<!-- c -->|<?pi data?>|'\r\n'|r|'  '|<!--after-->|' '|");
    EXPECT_EQ(d.getDoctype()->getParentNode(), nullptr);
}

TEST(XMLParserPrologTest, DeclarationIsOptionalAndItsPartsToo)
{
    XmlTest::Parsed bare = parse(u"<r/>");
    ASSERT_NE(bare.document, nullptr);
    EXPECT_TRUE(bare.document->getXMLDecl()->getAttributes()->isEmpty());
    XmlTest::Parsed versionOnly = parse(u"<?xml version='1.0'?><r/>");
    ASSERT_NE(versionOnly.document, nullptr);
    EXPECT_EQ(versionOnly.document->getXMLDecl()->getAttributes()->count(), 1u);
    // A processing instruction whose target merely starts with "xml" is not a
    // declaration.
    XmlTest::Parsed stylesheet = parse(u"<?xml-stylesheet href='a.css'?><r/>");
    ASSERT_NE(stylesheet.document, nullptr) << stylesheet.report;
    EXPECT_EQ(dump(stylesheet.document->getXMLDecl()->getNextSibling()), u"<?xml-stylesheet href='a.css'?>");
}

TEST(XMLParserPrologTest, DeclarationErrors)
{
    expectErrors({
        {u"<?xml ?><r/>", 0, 113},
        {u"<?xml version='1.0' <r/>", 0, 114},
        {u"<?xml version='1.0\"?><r/>", 0, 115},
        {u"<?xml version=\"1.0'?><r/>", 0, 116},
        {u"<?xml version=1.0?><r/>", 0, 117},
        {u"<?xml version='", 0, 118},
        {u"<?xml version='?'?><r/>", 0, 119},
        {u"<?xml version '1.0'?><r/>", 0, 120},
        {u"<?xml version='1.0' encoding='UTF-8\"?><r/>", 0, 122},
        {u"<?xml version='1.0' encoding=\"UTF-8'?><r/>", 0, 123},
        {u"<?xml version='1.0' encoding=UTF-8?><r/>", 0, 124},
        {u"<?xml version='1.0' encoding=\"", 0, 125},
        {u"<?xml version='1.0' encoding='8bit'?><r/>", 0, 126},
        {u"<?xml version='1.0' standalone='maybe'?><r/>", 0, 127},
        {u"<?xml version='1.0' standalone='yes\"?><r/>", 0, 128},
        {u"<?xml version='1.0' standalone=\"maybe\"?><r/>", 0, 129},
        {u"<?xml version='1.0' standalone=\"no'?><r/>", 0, 130},
        {u"<?xml version='1.0' standalone=yes?><r/>", 0, 131},
    });
}

TEST(XMLParserPrologTest, MissingRootAndUnfinishedMarkup)
{
    expectErrors({
        {u"<?xml version='1.0'?><!-- only comments -->", 0, 112},
        {u"", 0, 112},
        {u"text<r/>", 0, 112},
        {u"<!-- a -- b --><r/>", 0, 132},
        {u"<!-- open", 0, 132},
        {u"<?pi data", 0, 133},
        {u"<?pi?x?><r/>", 0, 133},
        {u"<r><![CDATA[never closed</r>", 0, 159},
        {u"<r>text", 0, 171},
        {u"<r>", 0, 171},
        {u"<r></r", 0, 158},
        {u"<r></ r>", 0, 101},
        {u"< r/>", 0, 101},
        {u"<r a='1' a='2'/>", 0, 157},
        {u"<r a/>", 0, 120},
        {u"<r a=1/>", 0, 109},
        {u"<r a=\"<\"/>", 0, 107},
        {u"<r a='<'/>", 0, 108},
        {u"<r a='open", 0, 171},
    });
}

TEST(XMLParserContentTest, TreeShapeAndWhitespace)
{
    EXPECT_EQ(rootOf(u"<a>\r\n <b x='1'y=\"2\">t</b><!--c--><?p d?><![CDATA[<&>]]>u</c>"),
              u"a{'\r\n ' b(x=1 y=2){'t'} <!--c--> <?p d?> [[<&>]] 'u'}");
    // End-tag names are not compared with start-tag names.
    EXPECT_EQ(rootOf(u"<a>x</b>"), u"a{'x'}");
    // A PI without data, and '<' inside values when allowed.
    EXPECT_EQ(rootOf(u"<a><?p?></a>"), u"a{<?p ?>}");
    EXPECT_EQ(rootOf(u"<a v='1<2'/>", LtInValues), u"a(v=1<2)");
}

TEST(XMLParserContentTest, EndTagFormIsRememberedOnlyWhenAsked)
{
    XmlTest::Parsed parsed = parse(u"<r><a></a><b/><c>x</c><d><!----></d></r>", EndTagForm);
    ASSERT_NE(parsed.document, nullptr);
    const Node* a = parsed.document->getLastChild()->getFirstChild();
    EXPECT_EQ(a->explicitEndTag(), 1u);
    EXPECT_EQ(a->getNextSibling()->explicitEndTag(), 0u);
    EXPECT_EQ(a->getNextSibling()->getNextSibling()->explicitEndTag(), 0u);
    EXPECT_EQ(a->getNextSibling()->getNextSibling()->getNextSibling()->explicitEndTag(), 0u);
    XmlTest::Parsed plain = parse(u"<r><a></a></r>");
    EXPECT_EQ(plain.document->getLastChild()->getFirstChild()->explicitEndTag(), 0u);
}

TEST(XMLParserContentTest, ByteOrderMarkBeforeTheDeclarationIsDropped)
{
    EXPECT_EQ(rootOf(u"\xFEFF<?xml version='1.0'?><r/>"), u"r");
}

TEST(XMLParserContentTest, NestingIsBoundedWithoutRecursion)
{
    std::u16string deep;
    for (uint32_t i = 0; i < XMLParser::MaxElementDepth; ++i)
        deep += u"<d>";
    XmlTest::Parsed atLimit = parse(deep + u"</d>");
    // The limit itself parses up to the end of the input.
    EXPECT_EQ(atLimit.report, expectedReport(171));
    expectErrors({{deep + u"<d>", 0, 163}});
    std::u16string fine;
    for (int i = 0; i < 9999; ++i)
        fine += u"<d>";
    for (int i = 0; i < 9999; ++i)
        fine += u"</d>";
    XmlTest::Parsed parsed = parse(fine);
    EXPECT_NE(parsed.document, nullptr);
}

TEST(XMLParserReferenceTest, EveryFlagCombination)
{
    const std::u16string text = u"<!DOCTYPE p [<!ENTITY me 'M'>]><p>&amp;&nbsp;&#169;&#x1F600;&me;</p>";
    struct Case {
        uint32_t flags;
        const char16_t* expected;
    } cases[] = {
        {Tolerate, u"p{'&\xA9\xD83D\xDE00M'}"},
        {Tolerate | Keep, u"p{'&amp;&nbsp;&#169;&#x1F600;&me;'}"},
        {Tolerate | Mark, u"p{'\x01" u"amp\x02\x01nbsp\x02\x01#169\x02\x01#x1F600\x02\x01me\x02'}"},
        {Tolerate | Mark | ExpandPredefined, u"p{'&\x01nbsp\x02\x01#169\x02\x01#x1F600\x02\x01me\x02'}"},
        {Tolerate | Keep | Mark, u"p{'&amp;&nbsp;&\x01#169;&\x01#x1F600;&me;'}"},
        {Xhtml, u"p{'&amp;&nbsp;&\x01#169;&\x01#x1F600;&me;'}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rootOf(text, c.flags), c.expected) << c.flags;
}

TEST(XMLParserReferenceTest, UndefinedEntities)
{
    expectErrors({{u"<p>&nbsp;</p>", 0, 167}, {u"<p>&nbsp</p>", Tolerate, 106}, {u"<p>&;</p>", 0, 101}});
    // Tolerated without marking, the reference disappears (its text node stays).
    EXPECT_EQ(rootOf(u"<p>a&nbsp;b</p>", Tolerate), u"p{'ab'}");
    EXPECT_EQ(rootOf(u"<p>&nbsp;</p>", Tolerate), u"p{''}");
    // References in attribute values follow the same flags.
    EXPECT_EQ(rootOf(u"<p a='x&lt;&nbsp;'/>", Tolerate | Mark | ExpandPredefined), u"p(a=x<\x01nbsp\x02)");
}

TEST(XMLParserReferenceTest, CharacterReferences)
{
    EXPECT_EQ(rootOf(u"<p>&#65;&#x42;&#x10FFFF;&#9;&#xFFFD;</p>"), u"p{'AB\xDBFF\xDFFF\t\xFFFD'}");
    expectErrors({
        {u"<p>&#x;</p>", 0, 103},
        {u"<p>&#;</p>", 0, 104},
        {u"<p>&#65</p>", 0, 105},
        {u"<p>&#0;</p>", 0, 160},
        {u"<p>&#x110000;</p>", 0, 160},
        {u"<p>&#xD800;</p>", 0, 160},
        // Nor may a reference name a character XML does not allow.
        {u"<p>&#1;</p>", 0, 160},
        {u"<p>&#xFFFF;</p>", 0, 160},
        {u"<p>&#xFFFE;</p>", Keep, 160},
        // Many digits saturate instead of wrapping back into range.
        {u"<p>&#x100000000041;</p>", 0, 160},
        {u"<p>&#4294967361;</p>", Keep, 160},
    });
}

TEST(XMLParserReferenceTest, DeclaredEntitiesAreParsedInPlace)
{
    EXPECT_EQ(rootOf(u"<!DOCTYPE r [<!ENTITY b '<b>bold</b>'>]><r>x&b;y</r>"), u"r{'x' b{'bold'} 'y'}");
    // An entity value's references are expanded when it is declared.
    EXPECT_EQ(rootOf(u"<!DOCTYPE r [<!ENTITY a 'A'><!ENTITY b '[&a;&#66;]'>]><r>&b;</r>"), u"r{'[AB]'}");
    // Entities in attribute values.
    EXPECT_EQ(rootOf(u"<!DOCTYPE r [<!ENTITY a 'A'>]><r v='1&a;2'/>"), u"r(v=1A2)");
    // A quote in a replacement text does not end the literal it is read in.
    EXPECT_EQ(rootOf(u"<!DOCTYPE r [<!ENTITY q '\"'>]><r v=\"x&q;y\"/>"), u"r(v=x\"y)");
    EXPECT_EQ(rootOf(u"<!DOCTYPE r [<!ENTITY q \"'\"><!ENTITY v '[&q;]'>]><r>&v;</r>"), u"r{'[']'}");
}

TEST(XMLParserReferenceTest, HostileEntitiesFailInsteadOfExhaustingMemory)
{
    std::u16string laughs = u"<!DOCTYPE r [<!ENTITY l0 'lol'>";
    for (int i = 1; i <= 9; ++i) {
        std::u16string name = u"l" + std::u16string(1, static_cast<char16_t>(u'0' + i));
        std::u16string previous = u"&l" + std::u16string(1, static_cast<char16_t>(u'0' + i - 1)) + u";";
        laughs += u"<!ENTITY " + name + u" '";
        for (int k = 0; k < 10; ++k)
            laughs += previous;
        laughs += u"'>";
    }
    laughs += u"]><r>&l9;</r>";
    expectErrors({
        {laughs, 0, 162},
        // A value that refers to its own entity.
        {u"<!DOCTYPE r [<!ENTITY a 'x&a;y'>]><r>&a;</r>", 0, 165},
        // A replacement text that refers to itself once expanded: nested,
        // and as its last reference (which never nests but never ends).
        {u"<!DOCTYPE r [<!ENTITY a '&#38;a;x'>]><r>&a;</r>", 0, 161},
        {u"<!DOCTYPE r [<!ENTITY a '&#38;a;'>]><r>&a;</r>", 0, 162},
    });
}

TEST(XMLParserContentTest, TextGatheredAcrossReferencesBecomesOneNodeInItsPlace)
{
    // Character data is gathered and the text node made when other markup
    // comes: it must land where the old append-as-you-go parser put it.
    XmlTest::Parsed parsed =
        parse(u"<!DOCTYPE r [<!ENTITY e 'in<b/>side'><!ENTITY m '<i/>'>]><r>a&amp;b&#x3042;<x/>c&e;d<y></y>&m;<!--n-->t</r>",
              EndTagForm);
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Node* r = parsed.document->getLastChild();
    std::u16string children;
    for (const Node* child = r->getFirstChild(); child; child = child->getNextSibling())
        children += dump(child) + u"|";
    EXPECT_EQ(children, u"'a&b\u3042'|x|'cin'|b|'sided'|y|''|i|<!--n-->|'t'|");
    const Node* y = r->getFirstChild()->getNextSibling()->getNextSibling()->getNextSibling()->getNextSibling()
                        ->getNextSibling();
    EXPECT_EQ(y->explicitEndTag(), 1u);
    EXPECT_EQ(r->getFirstChild()->getNodeValue()->capacity(), 4u * 2);
}

TEST(XMLParserNamespaceTest, DefaultNamespaceReachesElementsAndAttributes)
{
    XmlTest::Parsed parsed = parse(u"<html xmlns='http://www.w3.org/1999/xhtml'><p class='c'>t</p></html>");
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Node* html = parsed.document->getLastChild();
    const Node* p = html->getFirstChild();
    EXPECT_EQ(S(p->getNamespaceURI()), u"http://www.w3.org/1999/xhtml");
    EXPECT_EQ(S(p->getPrefix()), u"");
    EXPECT_EQ(S(p->getLocalName()), u"p");
    const Node* cls = p->getAttributes()->getNamedItem(U(u"class"));
    EXPECT_EQ(cls->getNamespaceURI(), p->getNamespaceURI());
    EXPECT_EQ(S(cls->getLocalName()), u"class");
    const Node* xmlns = html->getAttributes()->getNamedItem(U(u"xmlns"));
    EXPECT_EQ(S(xmlns->getNamespaceURI()), u"http://www.w3.org/2000/xmlns/");
    EXPECT_EQ(S(xmlns->getLocalName()), u"xmlns");
    EXPECT_EQ(S(xmlns->getNodeValue()), u"http://www.w3.org/1999/xhtml");
}

TEST(XMLParserNamespaceTest, PrefixesResolveLateAndGoOutOfScope)
{
    XmlTest::Parsed parsed = parse(
        u"<r><e:x xmlns:e='urn:e' e:a='1' xml:lang='ja'/><e:y xmlns:e='urn:f'><e:z/></e:y><q/></r>");
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Node* r = parsed.document->getLastChild();
    EXPECT_EQ(r->getNamespaceURI(), nullptr);
    const Node* x = r->getFirstChild();
    EXPECT_EQ(S(x->getNamespaceURI()), u"urn:e");
    EXPECT_EQ(S(x->getPrefix()), u"e");
    EXPECT_EQ(S(x->getLocalName()), u"x");
    const Node* a = x->getAttributes()->getNamedItem(U(u"e:a"));
    EXPECT_EQ(S(a->getNamespaceURI()), u"urn:e");
    EXPECT_EQ(S(a->getLocalName()), u"a");
    const Node* lang = x->getAttributes()->getNamedItem(U(u"xml:lang"));
    EXPECT_EQ(S(lang->getNamespaceURI()), u"http://www.w3.org/XML/1998/namespace");
    const Node* z = x->getNextSibling()->getFirstChild();
    EXPECT_EQ(S(z->getNamespaceURI()), u"urn:f");
    EXPECT_EQ(x->getNextSibling()->getNextSibling()->getNamespaceURI(), nullptr);
    // The binding of the first e:x ended with it.
    expectErrors({
        {u"<r><e:x xmlns:e='urn:e'/><e:y/></r>", 0, 170},
        {u"<r><e:x></e:x></r>", 0, 169},
        {u"<r e:a='1'/>", 0, 173},
    });
}

TEST(XMLParserNamespaceTest, RedeclarationInTheOwnStartTagAppliesToTheElement)
{
    // The element took the parent's default (or the parent's binding of its
    // prefix) before its own declarations were read.
    XmlTest::Parsed parsed = parse(u"<r xmlns='urn:a' xmlns:e='urn:e'>"
                                   u"<s xmlns='urn:b'><t/></s><u/>"
                                   u"<e:v xmlns:e='urn:f' e:a='1'><e:w/></e:v><e:x/>"
                                   u"<y xmlns=''><z c='1'/></y></r>");
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Node* r = parsed.document->getLastChild();
    const Node* s = r->getFirstChild();
    const Node* u = s->getNextSibling();
    const Node* v = u->getNextSibling();
    const Node* x = v->getNextSibling();
    const Node* y = x->getNextSibling();
    EXPECT_EQ(S(r->getNamespaceURI()), u"urn:a");
    EXPECT_EQ(S(s->getNamespaceURI()), u"urn:b");
    EXPECT_EQ(S(s->getFirstChild()->getNamespaceURI()), u"urn:b");
    EXPECT_EQ(S(u->getNamespaceURI()), u"urn:a");
    EXPECT_EQ(S(v->getNamespaceURI()), u"urn:f");
    EXPECT_EQ(S(v->getPrefix()), u"e");
    EXPECT_EQ(S(v->getLocalName()), u"v");
    EXPECT_EQ(S(v->getAttributes()->getNamedItem(U(u"e:a"))->getNamespaceURI()), u"urn:f");
    EXPECT_EQ(S(v->getFirstChild()->getNamespaceURI()), u"urn:f");
    EXPECT_EQ(S(x->getNamespaceURI()), u"urn:e");
    // xmlns="" takes the default away from the element itself as well.
    EXPECT_EQ(y->getNamespaceURI(), nullptr);
    EXPECT_EQ(y->getFirstChild()->getNamespaceURI(), nullptr);
    EXPECT_EQ(y->getFirstChild()->getAttributes()->getNamedItem(U(u"c"))->getNamespaceURI(), nullptr);
    // A prefix bound only by the element's own start tag resolves, in
    // either order of declaration and use.
    EXPECT_EQ(rootOf(u"<e:r e:a='1' xmlns:e='urn:e'/>"), u"e:r(e:a=1 xmlns:e=urn:e)");
}

TEST(XMLParserNamespaceTest, ManyDeclarationsInOneStartTagTakeLinearTime)
{
    // Every declaration scanned the attribute map and every prefix lookup the
    // whole binding stack: 20,000 declarations with as many prefixed
    // attributes took minutes.
    constexpr int Count = 50'000;
    std::u16string text = u"<r";
    for (int i = 0; i < Count; ++i) {
        const std::string n = std::to_string(i);
        const std::u16string p(n.begin(), n.end());
        text += u" xmlns:p" + p + u"='urn:" + p + u"' p" + p + u":a='" + p + u"'";
    }
    text += u"><p7:c/></r>";
    XmlTest::Parsed parsed = parse(text);
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Node* r = parsed.document->getLastChild();
    const Node* a = r->getAttributes()->getNamedItem(U(u"p4711:a"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(S(a->getNamespaceURI()), u"urn:4711");
    EXPECT_EQ(S(a->getLocalName()), u"a");
    const Node* declaration = r->getAttributes()->getNamedItem(U(u"xmlns:p4711"));
    EXPECT_EQ(S(declaration->getNamespaceURI()), u"http://www.w3.org/2000/xmlns/");
    EXPECT_EQ(S(declaration->getPrefix()), u"xmlns");
    EXPECT_EQ(S(declaration->getLocalName()), u"p4711");
    EXPECT_EQ(r->getAttributes()->count(), 2u * Count);
    EXPECT_EQ(S(r->getFirstChild()->getNamespaceURI()), u"urn:7");
}

TEST(XMLParserNamespaceTest, ProcessingCanBeSwitchedOff)
{
    XmlTest::Parsed parsed = parse(u"<e:x xmlns:e='urn:e' xmlns='urn:d' e:a='1'><u:y/></e:x>", NoNamespaces);
    ASSERT_NE(parsed.document, nullptr) << parsed.report;
    const Node* x = parsed.document->getLastChild();
    EXPECT_EQ(x->getNamespaceURI(), nullptr);
    EXPECT_EQ(x->getLocalName(), nullptr);
    EXPECT_EQ(x->getAttributes()->getNamedItem(U(u"xmlns"))->getNamespaceURI(), nullptr);
    EXPECT_EQ(dump(x), u"e:x(e:a=1 xmlns=urn:d xmlns:e=urn:e){u:y}");
}

TEST(XMLParserErrorTest, ReportLineFormatAndMessages)
{
    XmlTest::Parsed parsed = parse(u"<r><</r>");
    EXPECT_EQ(parsed.report, "ERROR:101: can't get NameTop.\n");
    EXPECT_STREQ(XMLParseError::messageOf(136), "can't find system literal colose \"");
    EXPECT_STREQ(XMLParseError::messageOf(109), "can't find attvalue starting ' or \"");
    EXPECT_STREQ(XMLParseError::messageOf(172), "");
    XMLParseError withDetail(XMLParseError::UNKNOWN_ENCODING, TString<char>("x-klingon"));
    const TString<char> line = withDetail.report();
    EXPECT_EQ(std::string(line.data(), line.length()), "ERROR:164: the declared encoding is not supported: x-klingon\n");
}

TEST(XMLParserErrorTest, EveryMessageMatchesTheGoldenTable)
{
    EXPECT_EQ(std::size(XmlTest::goldenMessages), 75u);
    for (int32_t code = 0; code < 200; ++code)
        EXPECT_STREQ(XMLParseError::messageOf(code), XmlTest::goldenMessage(code)) << code;
}
