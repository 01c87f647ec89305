#include "kiln/base/ConstNodeIterator.h"
#include "kiln/base/DOMImplementation.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/Element.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/Text.h"

#include "XmlTestSupport.h"

using namespace KILN;
using XmlTest::S;
using XmlTest::U;

namespace {

// <a><b><c/></b><d/></a><e/> under the document.
struct Tree {
    DOMImplementation implementation;
    Document document{&implementation};
    Node* add(Node* parent, const char16_t* name) { return parent->appendChild(new Element(&document, U(name))); }
    Node* a = add(&document, u"a");
    Node* b = add(a, u"b");
    Node* c = add(b, u"c");
    Node* d = add(a, u"d");
    Node* e = add(&document, u"e");
};

template <class It>
std::u16string walk(It& it)
{
    std::u16string out;
    while (it.hasNext())
        out += S(it.next()->getNodeName()) + u" ";
    return out;
}

} // namespace

TEST(NodeIteratorTest, DocumentOrderInsideTheRootOnly)
{
    Tree t;
    NodeIterator it(t.a);
    EXPECT_EQ(walk(it), u"a b c d ");
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_EQ(it.position(), 4u);
    EXPECT_EQ(it.first(), t.a);
    EXPECT_EQ(it.position(), 0u);
    it.next();
    it.next();
    EXPECT_EQ(it.position(), 2u);

    NodeIterator leaf(t.c);
    EXPECT_EQ(walk(leaf), u"c ");
}

TEST(NodeIteratorTest, BackwardsAndLast)
{
    Tree t;
    NodeIterator it(t.a);
    EXPECT_EQ(it.last(), t.d);
    EXPECT_EQ(it.previous(), t.c);
    EXPECT_EQ(it.previous(), t.b);
    EXPECT_EQ(it.previous(), t.a);
    EXPECT_EQ(it.previous(), nullptr);
    EXPECT_EQ(it.next(), t.a);

    NodeIterator whole(&t.document);
    EXPECT_EQ(whole.last(), t.e);
    EXPECT_EQ(whole.previous(), t.d);
}

TEST(NodeIteratorTest, ConstWalkAcceptsOnlySomeRoots)
{
    Tree t;
    ConstNodeIterator fromElement(t.b);
    EXPECT_EQ(walk(fromElement), u"b c ");
    ConstNodeIterator fromDocument(&t.document);
    std::u16string all = walk(fromDocument);
    EXPECT_EQ(all, u"#document  a b c d e ");
    Text text(&t.document, nullptr);
    ConstNodeIterator fromText(&text);
    EXPECT_EQ(walk(fromText), u"#text ");
    // An attribute (or any other node type) as root yields nothing.
    Element owner(&t.document, U(u"x"));
    owner.setAttribute(U(u"y"), nullptr);
    ConstNodeIterator fromAttribute(owner.getAttributes()->getNamedItem(U(u"y")));
    EXPECT_FALSE(fromAttribute.hasNext());
    EXPECT_EQ(fromAttribute.first(), nullptr);
    ConstNodeIterator fromDoctype(t.document.getDoctype());
    EXPECT_FALSE(fromDoctype.hasNext());
}
