#include "kiln/base/DocumentType.h"
#include "kiln/base/DtdAttlist.h"
#include "kiln/base/DtdElement.h"
#include "kiln/base/DtdParser.h"
#include "kiln/base/DtdPEntity.h"
#include "kiln/base/Entity.h"
#include "kiln/base/Notation.h"
#include "kiln/base/XMLParseError.h"
#include "kiln/base/XMLScanner.h"

#include "XmlTreeDump.h"

using namespace KILN;
using XmlTest::expectErrors;
using XmlTest::parse;
using XmlTest::S;
using XmlTest::U;

namespace {

// The text around the declarations of an internal subset under test.
const std::u16string SubsetOpen = u"<!DOCTYPE r [";
const std::u16string SubsetClose = u"]><r/>";

struct Subset {
    XmlTest::Parsed parsed;
    DocumentType* type() const { return parsed.document->getDoctype(); }
};

Subset subset(const std::u16string& declarations, uint32_t flags = 0)
{
    Subset s{parse(SubsetOpen + declarations + SubsetClose, flags)};
    EXPECT_NE(s.parsed.document, nullptr) << s.parsed.report;
    return s;
}

// A content model in the declaration syntax, for comparisons.
std::u16string model(const DtdECUnit& unit)
{
    std::u16string out;
    const uint32_t kind = unit.getKind() & DtdECUnit::KIND_MASK;
    auto group = [&](const char16_t* separator) {
        out += u"(";
        const LinkList<DtdECUnit>* children = unit.getChildren();
        for (uint32_t i = 0; children && i < children->count(); ++i)
            out += (i ? separator : u"") + model(*children->atIndex(i));
        out += u")";
    };
    switch (kind) {
    case DtdECUnit::EMPTY: out = u"EMPTY"; break;
    case DtdECUnit::ANY: out = u"ANY"; break;
    case DtdECUnit::PCDATA: out = u"#PCDATA"; break;
    case DtdECUnit::NAME: out = S(unit.getName()); break;
    case DtdECUnit::PCDATA_GROUP: group(u""); break;
    case DtdECUnit::MIXED: group(u"|"); out += u"*"; break;
    case DtdECUnit::SEQUENCE: group(u","); break;
    case DtdECUnit::CHOICE: group(u"|"); break;
    default: out = u"?"; break;
    }
    if (unit.getKind() & DtdECUnit::OPTIONAL)
        out += u"?";
    if (unit.getKind() & DtdECUnit::ONE_OR_MORE)
        out += u"+";
    if (unit.getKind() & DtdECUnit::ZERO_OR_MORE)
        out += u"*";
    return out;
}

std::u16string elementModel(const Subset& s, const char16_t* name)
{
    const Node* element = s.type()->elements().getNamedItem(U(name));
    return element ? model(static_cast<const DtdElement*>(element)->contentModel()) : u"(none)";
}

std::u16string declarationOrder(const DocumentType& type)
{
    std::u16string out;
    const LinkList<Node>& list = type.declarations();
    for (uint32_t i = 0; i < list.count(); ++i) {
        const Node* item = list.atIndex(i);
        out += item->getNodeType() == Node::TEXT_NODE ? u"_" : S(item->getNodeName());
        out += u" ";
    }
    return out;
}

} // namespace

TEST(DtdParserTest, DoctypeIdentifiers)
{
    XmlTest::Parsed system = parse(u"<!DOCTYPE html SYSTEM \"about:legacy-compat\"><html/>");
    ASSERT_NE(system.document, nullptr) << system.report;
    DocumentType* type = system.document->getDoctype();
    EXPECT_EQ(type->getParentNode(), system.document.get());
    EXPECT_EQ(S(type->getNodeName()), u"html");
    EXPECT_EQ(type->getPublicId(), nullptr);
    EXPECT_EQ(S(type->getSystemId()), u"about:legacy-compat");
    XmlTest::Parsed pub = parse(u"<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.1//EN' 'x.dtd' ><html/>");
    ASSERT_NE(pub.document, nullptr) << pub.report;
    EXPECT_EQ(S(pub.document->getDoctype()->getPublicId()), u"-//W3C//DTD XHTML 1.1//EN");
    EXPECT_EQ(S(pub.document->getDoctype()->getSystemId()), u"x.dtd");
    XmlTest::Parsed none = parse(u"<!DOCTYPE html><html/>");
    ASSERT_NE(none.document, nullptr);
    EXPECT_EQ(none.document->getDoctype()->getSystemId(), nullptr);
}

TEST(DtdParserTest, DoctypeErrors)
{
    expectErrors({
        {u"<!DOCTYPE r [<!-- x -->", 0, 134},
        {u"<!DOCTYPE r [] x", 0, 135},
        {u"<!DOCTYPE r SYSTEM \"x><r/>", 0, 136},
        {u"<!DOCTYPE r SYSTEM 'x><r/>", 0, 137},
        {u"<!DOCTYPE r SYSTEM x><r/>", 0, 138},
        {u"<!DOCTYPE r PUBLIC \"\" 'x'><r/>", 0, 139},
        {u"<!DOCTYPE r PUBLIC \"a{\" 'x'><r/>", 0, 140},
        {u"<!DOCTYPE r PUBLIC '\"' 'x'><r/>", 0, 141},
        {u"<!DOCTYPE r PUBLIC 'a\" 'x'><r/>", 0, 142},
        {u"<!DOCTYPE r PUBLIC x><r/>", 0, 143},
        {u"<!DOCTYPE r PUBLIC 'p'><r/>", 0, 121},
        {u"<!DOCTYPEr><r/>", 0, 121},
    });
}

TEST(DtdParserTest, ContentModels)
{
    Subset s = subset(u"<!ELEMENT e EMPTY><!ELEMENT a ANY><!ELEMENT t ( #PCDATA )>"
                      u"<!ELEMENT m (#PCDATA | b|i )*><!ELEMENT c (x,(y|z)*,w?)+>"
                      u"<!ELEMENT o (x|y) ><!ELEMENT n (((x)))>");
    EXPECT_EQ(elementModel(s, u"e"), u"EMPTY");
    EXPECT_EQ(elementModel(s, u"a"), u"ANY");
    EXPECT_EQ(elementModel(s, u"t"), u"(#PCDATA)");
    EXPECT_EQ(elementModel(s, u"m"), u"(#PCDATA|b|i)*");
    EXPECT_EQ(elementModel(s, u"c"), u"(x,(y|z)*,w?)+");
    EXPECT_EQ(elementModel(s, u"o"), u"(x|y)");
    EXPECT_EQ(elementModel(s, u"n"), u"(((x)))");
    const Node* e = s.type()->elements().getNamedItem(U(u"e"));
    EXPECT_EQ(e->getNodeType(), Node::DTD_ELEMENT_NODE);
    EXPECT_EQ(static_cast<const DtdElement*>(e)->contentModel().getOwner(), s.parsed.document.get());
}

TEST(DtdParserTest, ContentModelErrors)
{
    std::u16string deep = u"<!DOCTYPE r [<!ELEMENT e ";
    for (uint32_t i = 0; i <= DtdParser::MaxGroupDepth + 1; ++i)
        deep += u"(";
    expectErrors({
        {u"<!ELEMENT m (#PCDATA|b>", 0, 144},
        {u"<!ELEMENT m (#PCDATA|b)>", 0, 145},
        {u"<!ELEMENT m (#PCDATA b)>", 0, 146},
        {u"<!ELEMENT m (a,b>", 0, 147},
        {u"<!ELEMENT m (#PCDATA)*>", 0, 148},
        {u"<!ELEMENT m EMPTY", 0, 148},
        {u"<!ELEMENT m (a,(b|c>", 0, 149},
        {u"<!ELEMENT m (a,)>", 0, 101},
        {u"<!ELEMENT m(a)>", 0, 121},
        {u"<!ELEMENT>", 0, 121},
    }, SubsetOpen, SubsetClose);
    expectErrors({{deep, 0, 166}});
}

TEST(DtdParserTest, AttributeLists)
{
    Subset s = subset(u"<!ELEMENT img EMPTY><!ATTLIST img src CDATA #REQUIRED alt CDATA #IMPLIED\n"
                      u" id ID #IMPLIED kind (a|b | c) 'a' fmt NOTATION ( gif|png ) #FIXED \"gif\">"
                      u"<!ATTLIST img n NMTOKENS #IMPLIED>");
    const Node* img = s.type()->elements().getNamedItem(U(u"img"));
    ASSERT_NE(img, nullptr);
    std::u16string out;
    for (const Node* child = img->getFirstChild(); child; child = child->getNextSibling()) {
        const DtdAttlist* def = static_cast<const DtdAttlist*>(child);
        out += S(def->getNodeName()) + u":" + std::u16string(1, static_cast<char16_t>(u'0' + def->getAttType()));
        out += u":" + std::u16string(1, static_cast<char16_t>(u'0' + def->getDefaultKind()));
        if (def->getDefaultValue())
            out += u"=" + S(def->getDefaultValue());
        for (uint32_t i = 0; def->getEnumeration() && i < def->getEnumeration()->count(); ++i)
            out += u"|" + S(def->getEnumeration()->atIndex(i));
        out += def->getFirstOfList() ? u"<" : u"";
        out += def->getLastOfList() ? u">" : u"";
        out += u" ";
    }
    // The enumeration type 10 shows as ':'.
    EXPECT_EQ(out, u"src:1:1< alt:1:2 id:2:2 kind:::4=a|a|b|c fmt:9:3=gif|gif|png> n:6:2<> ");
    EXPECT_EQ(declarationOrder(*s.type()), u"img src alt id kind fmt n ");
}

TEST(DtdParserTest, AttributeListErrorsAndUndeclaredElements)
{
    expectErrors({
        {u"<!ATTLIST x a CDATA #IMPLIED>", 0, 150},
        {u"<!ELEMENT x ANY><!ATTLIST x a NOTATION gif) #IMPLIED>", 0, 151},
        {u"<!ELEMENT x ANY><!ATTLIST x a NOTATION (gif #IMPLIED>", 0, 152},
        {u"<!ELEMENT x ANY><!ATTLIST x a (m|n #IMPLIED>", 0, 153},
        {u"<!ELEMENT x ANY><!ATTLIST x a (m|) #IMPLIED>", 0, 102},
        {u"<!ELEMENT x ANY><!ATTLIST x a CDATA>", 0, 121},
        // An unknown type is no error in itself, but nothing then skips it.
        {u"<!ELEMENT x ANY><!ATTLIST x a foo #IMPLIED>", 0, 121},
        {u"<!ELEMENT x ANY><!ATTLIST x a CDATA #FIXED>", 0, 121},
        {u"<!ELEMENT x ANY><!ATTLIST x a CDATA x>", 0, 109},
    }, SubsetOpen, SubsetClose);
    // Accepted and discarded when asked: no trace in the DOCTYPE.
    Subset s = subset(u"<!ATTLIST x a CDATA #IMPLIED b (m|n) 'm'>", XMLScanner::attlistWithoutElement);
    EXPECT_TRUE(s.type()->elements().isEmpty());
    EXPECT_EQ(declarationOrder(*s.type()), u"");
}

TEST(DtdParserTest, EntitiesAndNotations)
{
    Subset s = subset(u"<!ENTITY % pe 'p&#65;'><!ENTITY % ext SYSTEM 'e.ent'> %pe;\n"
                      u"<!ENTITY copy '&#169;%pe;'><!ENTITY logo SYSTEM 'logo.gif' NDATA gif>"
                      u"<!ENTITY pub PUBLIC '-//P' 's.ent'><!NOTATION gif PUBLIC 'image/gif'>"
                      u"<!NOTATION png SYSTEM 'png'><!NOTATION jpg PUBLIC 'j' 'jpg.exe'><!--c--><?pi d?>");
    DocumentType* type = s.type();
    const DtdPEntity* pe = static_cast<const DtdPEntity*>(type->parameterEntities().getNamedItem(U(u"pe")));
    ASSERT_NE(pe, nullptr);
    EXPECT_EQ(S(pe->getNodeValue()), u"pA");
    EXPECT_EQ(S(static_cast<const External*>(type->parameterEntities().getNamedItem(U(u"ext")))->getSystemId()), u"e.ent");
    const Entity* copy = static_cast<const Entity*>(type->entities().getNamedItem(U(u"copy")));
    // A parameter-entity reference inside a value is checked and dropped.
    EXPECT_EQ(S(copy->getReplacementText()), u"\xA9");
    const Entity* logo = static_cast<const Entity*>(type->entities().getNamedItem(U(u"logo")));
    EXPECT_EQ(S(logo->getSystemId()), u"logo.gif");
    EXPECT_EQ(S(logo->getNotationName()), u"gif");
    const Entity* pub = static_cast<const Entity*>(type->entities().getNamedItem(U(u"pub")));
    EXPECT_EQ(S(pub->getPublicId()), u"-//P");
    EXPECT_EQ(S(pub->getSystemId()), u"s.ent");
    const Notation* gif = static_cast<const Notation*>(type->notations().getNamedItem(U(u"gif")));
    EXPECT_EQ(S(gif->getPublicId()), u"image/gif");
    EXPECT_EQ(gif->getSystemId(), nullptr);
    EXPECT_EQ(S(static_cast<const Notation*>(type->notations().getNamedItem(U(u"jpg")))->getSystemId()), u"jpg.exe");
    // The parameter-entity reference itself leaves no trace; layout, comments
    // and PIs are kept in order, as children of the DOCTYPE too.
    EXPECT_EQ(declarationOrder(*type), u"pe ext _ _ copy logo pub gif png jpg #comment pi ");
    EXPECT_EQ(XmlTest::dump(type), u"r{' ' '\n' <!--c--> <?pi d?>}");
}

TEST(DtdParserTest, LatestDeclarationWinsAndBothAreKept)
{
    Subset s = subset(u"<!ELEMENT p EMPTY><!ELEMENT p ANY><!ENTITY e 'one'><!ENTITY e 'two'>");
    EXPECT_EQ(elementModel(s, u"p"), u"ANY");
    EXPECT_EQ(s.type()->elements().count(), 1u);
    EXPECT_EQ(S(static_cast<const Entity*>(s.type()->entities().getNamedItem(U(u"e")))->getReplacementText()), u"two");
    EXPECT_EQ(declarationOrder(*s.type()), u"p p e e ");
    EXPECT_EQ(s.type()->declarations().atIndex(0)->getNodeType(), Node::DTD_ELEMENT_NODE);
    // The latest definition is the one that content references expand.
    XmlTest::Parsed parsed = parse(u"<!DOCTYPE r [<!ENTITY e 'one'><!ENTITY e 'two'>]><r>&e;</r>");
    EXPECT_EQ(XmlTest::dumpRoot(parsed.document.get()), u"r{'two'}");
}

TEST(DtdParserTest, EntityAndNotationErrors)
{
    expectErrors({
        {u"% pe;", 0, 101},
        {u"%pe >", 0, 110},
        {u"%pe;", 0, 168},
        {u"<!ENTITY e 'x' junk>", 0, 154},
        {u"<!ENTITY e x>", 0, 111},
        {u"<!ENTITY e '%pe;'>", 0, 168},
        {u"<!ENTITY e '%pe'>", 0, 110},
        {u"<!ENTITY e 'open", 0, 171},
        {u"<!ENTITY e '&undefined;'>", 0, 167},
        {u"<!ENTITY e SYSTEM 'x' NDATA>", 0, 121},
        {u"<!ENTITY %pe 'x'>", 0, 121},
        {u"<!NOTATION n 'x'>", 0, 155},
        {u"<!NOTATION n SYSTEM 'x' y>", 0, 156},
    }, SubsetOpen, SubsetClose);
}
