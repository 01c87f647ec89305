#include "kiln/base/Attr.h"
#include "kiln/base/DOMImplementation.h"
#include "kiln/base/Element.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/Text.h"
#include "kiln/base/XNodeList.h"

#include "XmlTestSupport.h"

using namespace KILN;
using XmlTest::S;
using XmlTest::U;

namespace {

struct Fixture {
    DOMImplementation implementation;
    Document document{&implementation};

    Element* element(Node* parent, const char16_t* name)
    {
        return static_cast<Element*>(parent->appendChild(new Element(&document, U(name))));
    }
};

std::u16string attributeNames(const Node& node)
{
    std::u16string names;
    std::unique_ptr<Iterator<Node>> it(node.getAttributes()->iterator());
    while (it->hasNext())
        names += S(it->next()->getNodeName()) + u" ";
    return names;
}

std::u16string names(XNodeList& list)
{
    std::u16string out;
    for (uint32_t i = 0; i < list.count(); ++i)
        out += S(list.atIndex(i)->getNodeName()) + u" ";
    return out;
}

} // namespace

TEST(ElementAttributeTest, SettingAnExistingAttributeKeepsItsNode)
{
    Fixture f;
    Element* img = f.element(&f.document, u"img");
    const Utf16String first = U(u"a.png");
    img->setAttribute(U(u"src"), &first);
    Node* src = img->getAttributes()->getNamedItem(U(u"src"));
    ASSERT_NE(src, nullptr);
    img->setAttribute(reinterpret_cast<const unsigned short*>(u"src"), reinterpret_cast<const unsigned short*>(u"b.png"));
    EXPECT_EQ(img->getAttributes()->getNamedItem(U(u"src")), src);
    EXPECT_EQ(S(src->getNodeValue()), u"b.png");
    EXPECT_EQ(static_cast<Attr*>(src)->getOwnerElement(), img);
    EXPECT_EQ(static_cast<Attr*>(src)->getSpecified(), 1);
    EXPECT_EQ(src->getParentNode(), nullptr);
    // The map is ordered by name, not by the order of setting.
    img->setAttribute(U(u"alt"), nullptr);
    EXPECT_EQ(attributeNames(*img), u"alt src ");
    EXPECT_EQ(S(img->getAttributes()->getNamedItem(U(u"alt"))->getNodeValue()), u"");
    // A proper prefix sorts first; comparison is by code unit.
    img->setAttribute(U(u"al"), nullptr);
    img->setAttribute(U(u"\x00E9"), nullptr);
    img->setAttribute(U(u"Z"), nullptr);
    EXPECT_EQ(attributeNames(*img), u"Z al alt src \x00E9 ");
}

TEST(ElementAttributeTest, NamespacedAttributes)
{
    Fixture f;
    const Utf16String ns = U(u"urn:x");
    Element* e = static_cast<Element*>(f.document.appendChild(new Element(&f.document, ns, U(u"x:item"))));
    EXPECT_EQ(S(e->getNodeName()), u"x:item");
    EXPECT_EQ(S(e->getPrefix()), u"x");
    EXPECT_EQ(S(e->getLocalName()), u"item");
    EXPECT_EQ(S(e->getNamespaceURI()), u"urn:x");
    Element plain(&f.document, ns, U(u"item"));
    EXPECT_EQ(S(plain.getPrefix()), u"");
    EXPECT_EQ(S(plain.getLocalName()), u"item");
    Element unnamed(&f.document, U(u"x:item"));
    EXPECT_EQ(unnamed.getPrefix(), nullptr);
    EXPECT_EQ(unnamed.getLocalName(), nullptr);
    EXPECT_EQ(unnamed.getNamespaceURI(), nullptr);

    const Utf16String one = U(u"1");
    const Utf16String two = U(u"2");
    e->setAttributeNS(ns, U(u"x:a"), &one);
    Attr* a = e->getAttributeNodeNS(ns, U(u"a"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(S(a->getPrefix()), u"x");
    EXPECT_EQ(a->getOwnerElement(), e);
    // The same local name and namespace under another prefix is the same attribute.
    e->setAttributeNS(ns, U(u"y:a"), &two);
    EXPECT_EQ(e->getAttributeNodeNS(ns, U(u"a")), a);
    EXPECT_EQ(S(a->getNodeValue()), u"2");
    EXPECT_EQ(e->getAttributes()->count(), 1u);
    EXPECT_EQ(e->getAttributeNodeNS(U(u"urn:other"), U(u"a")), nullptr);
    // Same name, other namespace: the new attribute replaces the old one
    // instead of being refused by the name-ordered map and lost.
    e->setAttributeNS(U(u"urn:other"), U(u"x:a"), &one);
    EXPECT_EQ(e->getAttributes()->count(), 1u);
    EXPECT_NE(e->getAttributeNodeNS(U(u"urn:other"), U(u"a")), nullptr);
}

TEST(ElementLookupTest, ChildrenAndSubtreeSearches)
{
    Fixture f;
    Element* p = f.element(&f.document, u"p");
    Element* span = f.element(p, u"span");
    Element* inner = f.element(span, u"p");
    p->appendChild(new Text(&f.document, nullptr));
    Element* second = f.element(p, u"span");
    EXPECT_EQ(p->getFirstChildElement(U(u"span")), span);
    EXPECT_EQ(p->getFirstChildElement(reinterpret_cast<const unsigned short*>(u"span")), span);
    // Children only, never deeper descendants.
    EXPECT_EQ(p->getFirstChildElement(U(u"p")), nullptr);
    EXPECT_EQ(p->getFirstChildElement(U(u"none")), nullptr);

    std::unique_ptr<XNodeList> ps(p->getElementsByTagName(U(u"p")));
    ASSERT_EQ(ps->count(), 2u);
    EXPECT_EQ(ps->atIndex(0), p);
    EXPECT_EQ(ps->atIndex(1), inner);
    std::unique_ptr<XNodeList> spans(p->getElementsByTagName(U(u"span")));
    EXPECT_EQ(names(*spans), u"span span ");
    EXPECT_EQ(spans->atIndex(1), second);
    std::unique_ptr<XNodeList> all(p->getElementsByTagName(U(u"*")));
    EXPECT_EQ(names(*all), u"p span p #text span ");
    std::unique_ptr<XNodeList> none(p->getElementsByTagName(U(u"none")));
    EXPECT_EQ(none->count(), 0u);
    // The list does not own the nodes.
    all->clear();
    EXPECT_EQ(p->getFirstChild(), span);

    const Utf16String ns = U(u"urn:x");
    Element* named = static_cast<Element*>(p->appendChild(new Element(&f.document, ns, U(u"q:item"))));
    EXPECT_EQ(p->getFirstChildElementNS(U(u"item"), ns), named);
    EXPECT_EQ(p->getFirstChildElementNS(U(u"item"), U(u"urn:y")), nullptr);
}

TEST(ElementCloneTest, ShallowAndDeepCopies)
{
    Fixture f;
    Element* p = f.element(&f.document, u"p");
    const Utf16String value = U(u"c");
    p->setAttribute(U(u"class"), &value);
    Element* b = f.element(p, u"b");
    const Utf16String words = U(u"words");
    b->appendChild(new Text(&f.document, &words));
    p->appendChild(new Text(&f.document, &value));

    std::unique_ptr<Element> shallow(static_cast<Element*>(p->cloneNode(false)));
    EXPECT_EQ(shallow->getNodeName(), p->getNodeName());
    EXPECT_TRUE(shallow->getAttributes()->isEmpty());
    EXPECT_FALSE(shallow->hasChildNodes());
    EXPECT_EQ(shallow->getParentNode(), nullptr);
    EXPECT_EQ(shallow->getOwnerDocument(), &f.document);

    std::unique_ptr<Element> deep(static_cast<Element*>(p->cloneNode(true)));
    Attr* copied = static_cast<Attr*>(deep->getAttributes()->getNamedItem(U(u"class")));
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, p->getAttributes()->getNamedItem(U(u"class")));
    EXPECT_EQ(copied->getOwnerElement(), deep.get());
    EXPECT_EQ(S(copied->getNodeValue()), u"c");
    Node* bCopy = deep->getFirstChild();
    ASSERT_NE(bCopy, nullptr);
    EXPECT_NE(bCopy, b);
    EXPECT_EQ(bCopy->getParentNode(), deep.get());
    EXPECT_EQ(S(bCopy->getFirstChild()->getNodeValue()), u"words");
    EXPECT_EQ(S(bCopy->getNextSibling()->getNodeValue()), u"c");
    EXPECT_EQ(bCopy->getNextSibling()->getNextSibling(), nullptr);
}

TEST(ElementCloneTest, DeepCopyOfAVeryDeepTreeDoesNotRecurse)
{
    Fixture f;
    Element* top = f.element(&f.document, u"d");
    Node* parent = top;
    for (int i = 0; i < 100000; ++i)
        parent = parent->appendChild(new Element(&f.document, U(u"d")));
    parent->appendChild(new Text(&f.document, nullptr));
    std::unique_ptr<Node> copy(top->cloneNode(true));
    int depth = 0;
    const Node* node = copy.get();
    while (node->getFirstChild()) {
        node = node->getFirstChild();
        ++depth;
    }
    EXPECT_EQ(depth, 100001);
    EXPECT_EQ(node->getNodeType(), Node::TEXT_NODE);
}
