#include "kiln/base/DOMImplementation.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/Element.h"
#include "kiln/base/XMLDecl.h"

#include "XmlTestSupport.h"

using namespace KILN;
using XmlTest::S;
using XmlTest::U;

TEST(DocumentTest, NewDocumentHoldsOnlyItsDeclaration)
{
    DOMImplementation implementation;
    Document document(&implementation);
    EXPECT_EQ(document.getNodeType(), Node::DOCUMENT_NODE);
    EXPECT_EQ(S(document.getNodeName()), u"#document");
    EXPECT_EQ(document.getOwnerDocument(), &document);
    EXPECT_EQ(document.getParentNode(), nullptr);
    EXPECT_EQ(document.getImplementation(), &implementation);
    ASSERT_EQ(document.getChildNodes()->count(), 1u);
    EXPECT_EQ(document.getFirstChild(), document.getXMLDecl());
    EXPECT_EQ(document.getXMLDecl()->getNodeType(), Node::XML_DECL_NODE);
    // The DOCTYPE exists but is outside the tree; the document frees it
    // (the leak check of the sanitizer build sees otherwise).
    ASSERT_NE(document.getDoctype(), nullptr);
    EXPECT_EQ(document.getDoctype()->getNodeType(), Node::DOCUMENT_TYPE_NODE);
    EXPECT_EQ(document.getDoctype()->getParentNode(), nullptr);
}

TEST(DocumentTest, DoctypeInTheTreeIsFreedOnce)
{
    DOMImplementation implementation;
    auto document = std::make_unique<Document>(&implementation);
    document->appendChild(document->getDoctype());
    EXPECT_EQ(document->getDoctype()->getParentNode(), document.get());
    document.reset();
}

TEST(DocumentTest, EqualNamesShareOneAtom)
{
    DOMImplementation implementation;
    Document document(&implementation);
    Element a(&document, U(u"p"));
    Element b(&document, U(u"p"));
    Element c(&document, U(u"P"));
    EXPECT_EQ(a.getNodeName(), b.getNodeName());
    EXPECT_NE(a.getNodeName(), c.getNodeName());
    EXPECT_EQ(document.names().lookup(U(u"p")), a.getNodeName());
    EXPECT_EQ(document.names().lookup(U(u"q")), nullptr);
    const Utf16String* q = document.names().intern(U(u"q"));
    EXPECT_EQ(document.names().lookup(U(u"q")), q);
    // Atoms compare by code units: an empty name and a name with a high unit.
    EXPECT_EQ(document.names().internAscii(""), document.names().intern(U(u"")));
    EXPECT_NE(document.names().intern(U(u"\xFFFF")), document.names().intern(U(u"\x00FF")));
}

TEST(DocumentTest, ProcessWideImplementationFollowsTheLifeCycle)
{
    DOMImplementation::lifeCycle(true);
    DOMImplementation* instance = DOMImplementation::instance();
    ASSERT_NE(instance, nullptr);
    DOMImplementation::lifeCycle(true);
    EXPECT_EQ(DOMImplementation::instance(), instance);
    ASSERT_NE(DOMImplementation::emptyString(), nullptr);
    EXPECT_TRUE(DOMImplementation::emptyString()->isEmpty());
    DOMImplementation::lifeCycle(false);
    EXPECT_EQ(DOMImplementation::instance(), nullptr);
    EXPECT_EQ(DOMImplementation::emptyString(), nullptr);
}
