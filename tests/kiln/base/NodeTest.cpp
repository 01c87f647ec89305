#include "kiln/base/Attr.h"
#include "kiln/base/CDATASection.h"
#include "kiln/base/Comment.h"
#include "kiln/base/DOMException.h"
#include "kiln/base/DOMImplementation.h"
#include "kiln/base/DocumentType.h"
#include "kiln/base/DtdAttlist.h"
#include "kiln/base/DtdElement.h"
#include "kiln/base/DtdPEntity.h"
#include "kiln/base/Element.h"
#include "kiln/base/Entity.h"
#include "kiln/base/NamedNodeMap.h"
#include "kiln/base/Notation.h"
#include "kiln/base/ProcessingInstruction.h"
#include "kiln/base/Text.h"
#include "kiln/base/XMLDecl.h"

#include "XmlTestSupport.h"

using namespace KILN;
using XmlTest::S;
using XmlTest::U;

namespace {

uint16_t domCode(void (*operation)(Node&, Node*), Node& parent, Node* argument)
{
    try {
        operation(parent, argument);
    } catch (const DOMException& e) {
        return e.code();
    }
    return 0;
}

struct Tree {
    DOMImplementation implementation;
    Document document{&implementation};
    Element* root = static_cast<Element*>(document.appendChild(new Element(&document, U(u"root"))));

    Element* child(const char16_t* name) { return static_cast<Element*>(root->appendChild(new Element(&document, U(name)))); }
};

std::u16string childNames(const Node& parent)
{
    std::u16string names;
    for (Node* child = parent.getFirstChild(); child; child = child->getNextSibling())
        names += S(child->getNodeName()) + u" ";
    return names;
}

} // namespace

TEST(NodeChildListTest, OperationsLinkAndSetParents)
{
    Tree t;
    Element* a = t.child(u"a");
    Element* c = t.child(u"c");
    Node* b = t.root->insertBefore(new Element(&t.document, U(u"b")), c);
    Node* d = t.root->insertAfter(new Element(&t.document, U(u"d")), c);
    EXPECT_EQ(childNames(*t.root), u"a b c d ");
    EXPECT_EQ(b->getParentNode(), t.root);
    EXPECT_EQ(d->getParentNode(), t.root);
    EXPECT_EQ(t.root->getFirstChild(), a);
    EXPECT_EQ(t.root->getLastChild(), d);
    EXPECT_EQ(c->getPreviousSibling(), b);
    EXPECT_EQ(c->getNextSibling(), d);
    EXPECT_EQ(t.root->getChildNodes()->count(), 4u);

    Element* x = new Element(&t.document, U(u"x"));
    EXPECT_EQ(t.root->replaceChild(x, b), x);
    EXPECT_EQ(childNames(*t.root), u"a x c d ");
    EXPECT_EQ(x->getParentNode(), t.root);
    EXPECT_EQ(b->getParentNode(), nullptr);
    EXPECT_EQ(b->getNextSibling(), nullptr);
    delete b;

    EXPECT_EQ(t.root->removeChild(a), a);
    EXPECT_EQ(a->getParentNode(), nullptr);
    EXPECT_EQ(childNames(*t.root), u"x c d ");
    delete a;
    EXPECT_TRUE(t.root->hasChildNodes());
    EXPECT_FALSE(x->hasChildNodes());
}

TEST(NodeChildListTest, NullOrRefusedNodesRaiseCode8)
{
    Tree t;
    Element* a = t.child(u"a");
    Node& root = *t.root;
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.appendChild(n); }, root, nullptr), 8);
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.removeChild(n); }, root, nullptr), 8);
    // insertBefore with a null reference does not append.
    Element fresh(&t.document, U(u"fresh"));
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.insertBefore(n, nullptr); }, root, &fresh), 8);
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.insertAfter(n, nullptr); }, root, &fresh), 8);
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.replaceChild(n, nullptr); }, root, &fresh), 8);
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.insertBefore(nullptr, n); }, root, a), 8);
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.replaceChild(nullptr, n); }, root, a), 8);
    EXPECT_EQ(fresh.getParentNode(), nullptr);
    // A node still linked elsewhere is refused rather than corrupting both lists.
    Element* b = t.child(u"b");
    EXPECT_EQ(domCode([](Node& p, Node* n) { p.appendChild(n); }, *a, b), 8);
    EXPECT_EQ(childNames(root), u"a b ");
    EXPECT_EQ(b->getParentNode(), t.root);
}

TEST(NodeChildListTest, RemovedNodeBelongsToTheCaller)
{
    Element* kept = nullptr;
    {
        Tree t;
        Element* a = t.child(u"a");
        a->appendChild(new Text(&t.document, nullptr));
        kept = static_cast<Element*>(t.root->removeChild(a));
        // The detached subtree is intact while its former tree is destroyed;
        // names stay valid only while the document lives, so check them now.
        EXPECT_EQ(S(kept->getNodeName()), u"a");
        EXPECT_TRUE(kept->hasChildNodes());
    }
    EXPECT_NE(kept->getFirstChild(), nullptr);
    delete kept;
}

TEST(NodeTest, DestroyingAVeryDeepTreeDoesNotRecurse)
{
    DOMImplementation implementation;
    auto document = std::make_unique<Document>(&implementation);
    Node* parent = document.get();
    for (int i = 0; i < 100000; ++i)
        parent = parent->appendChild(new Element(document.get(), U(u"d")));
    document.reset();
}

TEST(NodeTest, ValueAndPrefixSetters)
{
    Tree t;
    Text text(&t.document, nullptr);
    EXPECT_EQ(S(text.getNodeValue()), u"");
    const char16_t units[] = u"abcdef";
    text.setNodeValue(reinterpret_cast<const unsigned short*>(units), 3);
    EXPECT_EQ(S(text.getNodeValue()), u"abc");
    text.setNodeValue(reinterpret_cast<const unsigned short*>(units));
    EXPECT_EQ(S(text.getNodeValue()), u"abcdef");
    text.setNodeValue(U(u"x"));
    EXPECT_EQ(S(text.getNodeValue()), u"x");

    EXPECT_EQ(t.root->getPrefix(), nullptr);
    t.root->setPrefix(reinterpret_cast<const unsigned short*>(u"p"));
    const Utf16String* p = t.root->getPrefix();
    t.root->setPrefix(U(u"p"));
    EXPECT_EQ(t.root->getPrefix(), p);
    EXPECT_EQ(p, t.document.prefixes().lookup(U(u"p")));
    t.root->setPrefix(static_cast<const Utf16String*>(nullptr));
    EXPECT_EQ(t.root->getPrefix(), nullptr);
}

TEST(NodeTest, StorageMadeOnFirstUseBehavesAsAlwaysThere)
{
    // Child lists, attribute maps, values and namespace names are made only
    // when a node first needs them; every node must still offer them all.
    Tree t;
    auto* text = static_cast<Text*>(t.root->appendChild(new Text(&t.document, nullptr)));
    EXPECT_FALSE(text->hasChildNodes());
    EXPECT_EQ(text->getFirstChild(), nullptr);
    EXPECT_EQ(text->getLastChild(), nullptr);
    EXPECT_EQ(text->getChildNodes()->count(), 0u);
    EXPECT_EQ(text->getNamespaceURI(), nullptr);
    text->setPrefix(static_cast<const Utf16String*>(nullptr));
    EXPECT_EQ(text->getPrefix(), nullptr);
    // A map and a child asked of a text node are its own and go with it.
    NamedNodeMap* map = text->getAttributes();
    EXPECT_TRUE(map->isEmpty());
    EXPECT_EQ(text->getAttributes(), map);
    map->setNamedItem(new Attr(&t.document, U(u"a")));
    text->appendChild(new Comment(&t.document, nullptr));
    EXPECT_TRUE(text->hasChildNodes());

    // An element's value is empty until set, and a clone copies it.
    Element* e = t.child(u"e");
    EXPECT_EQ(S(e->getNodeValue()), u"");
    EXPECT_EQ(S(t.root->getNodeValue()), u"");
    e->setNodeValue(U(u"v"));
    EXPECT_EQ(S(e->getNodeValue()), u"v");
    EXPECT_EQ(S(t.root->getNodeValue()), u"");
    e->mutableValue().append('w');
    std::unique_ptr<Node> copy(e->cloneNode(false));
    EXPECT_EQ(S(copy->getNodeValue()), u"vw");

    // Namespace names are copied with the node and can be cleared again.
    e->setNamespace(t.document.namespaceURIs().intern(U(u"urn:x")), t.document.prefixes().intern(U(u"x")),
                    t.document.names().intern(U(u"e")));
    std::unique_ptr<Node> named(e->cloneNode(false));
    EXPECT_EQ(S(named->getNamespaceURI()), u"urn:x");
    EXPECT_EQ(S(named->getPrefix()), u"x");
    EXPECT_EQ(S(named->getLocalName()), u"e");
    e->setNamespace(nullptr, nullptr, nullptr);
    EXPECT_EQ(e->getNamespaceURI(), nullptr);
    EXPECT_EQ(e->getLocalName(), nullptr);
    EXPECT_EQ(S(named->getNamespaceURI()), u"urn:x");

    // Text and attribute values are made at their exact size.
    const Utf16String long_ = U(u"a text longer than the default room");
    Text exact(&t.document, &long_);
    EXPECT_EQ(exact.getNodeValue()->capacity(), long_.length() * 2);
    e->setAttribute(U(u"title"), &long_);
    EXPECT_EQ(e->getAttributes()->getNamedItem(U(u"title"))->getNodeValue()->capacity(), long_.length() * 2);
}

TEST(NodeCloneTest, EachClassCopiesAsDescribed)
{
    Tree t;
    Document& d = t.document;

    Attr attr(&d, U(u"id"));
    attr.setNodeValue(U(u"v"));
    std::unique_ptr<Node> attrCopy(attr.cloneNode(false));
    EXPECT_EQ(attrCopy->getNodeType(), Node::ATTRIBUTE_NODE);
    EXPECT_EQ(attrCopy->getNodeName(), attr.getNodeName());
    EXPECT_EQ(S(attrCopy->getNodeValue()), u"v");
    EXPECT_EQ(static_cast<Attr*>(attrCopy.get())->getSpecified(), 1);
    EXPECT_EQ(static_cast<Attr*>(attrCopy.get())->getOwnerElement(), nullptr);

    Text text(&d, attr.getNodeValue());
    std::unique_ptr<Node> textCopy(text.cloneNode(true));
    EXPECT_EQ(textCopy->getNodeType(), Node::TEXT_NODE);
    EXPECT_EQ(S(textCopy->getNodeName()), u"#text");
    EXPECT_EQ(S(textCopy->getNodeValue()), u"v");

    CDATASection cdata(&d, U(u"<x>"));
    EXPECT_EQ(cdata.getNodeType(), Node::TEXT_NODE);
    EXPECT_EQ(S(cdata.getNodeName()), u"#cdata-section");
    std::unique_ptr<Node> cdataCopy(cdata.cloneNode(false));
    EXPECT_EQ(cdataCopy->getNodeType(), Node::CDATA_SECTION_NODE);
    EXPECT_EQ(S(cdataCopy->getNodeName()), u"#cdata-section");
    EXPECT_EQ(S(cdataCopy->getNodeValue()), u"<x>");

    const Utf16String note = U(u" note ");
    Comment comment(&d, &note);
    std::unique_ptr<Node> commentCopy(comment.cloneNode(false));
    EXPECT_EQ(commentCopy->getNodeType(), Node::COMMENT_NODE);
    EXPECT_EQ(S(commentCopy->getNodeValue()), u" note ");

    ProcessingInstruction pi(&d, U(u"target"), U(u"data"));
    std::unique_ptr<Node> piCopy(pi.cloneNode(false));
    EXPECT_EQ(piCopy->getNodeType(), Node::PROCESSING_INSTRUCTION_NODE);
    EXPECT_EQ(S(piCopy->getNodeName()), u"target");
    EXPECT_EQ(S(piCopy->getNodeValue()), u"data");

    DocumentType* type = d.getDoctype();
    type->setName(U(u"html"));
    const Utf16String pub = U(u"-//P//EN");
    type->setPublicId(&pub);
    type->registerDeclaration(type->entities(), new Entity(&d, U(u"e")));
    std::unique_ptr<DocumentType> typeCopy(static_cast<DocumentType*>(type->cloneNode(true)));
    EXPECT_EQ(S(typeCopy->getNodeName()), u"html");
    EXPECT_EQ(S(typeCopy->getPublicId()), u"-//P//EN");
    EXPECT_EQ(typeCopy->getSystemId(), nullptr);
    EXPECT_TRUE(typeCopy->entities().isEmpty());
    EXPECT_TRUE(typeCopy->declarations().isEmpty());

    Entity entity(&d, U(u"ent"));
    entity.setSystemId(&pub);
    std::unique_ptr<Node> entityCopy(entity.cloneNode(false));
    EXPECT_EQ(S(entityCopy->getNodeName()), u"ent");
    EXPECT_EQ(S(static_cast<Entity*>(entityCopy.get())->getSystemId()), u"-//P//EN");
    Notation notation(&d, U(u"gif"));
    std::unique_ptr<Node> notationCopy(notation.cloneNode(false));
    EXPECT_EQ(notationCopy->getNodeType(), Node::NOTATION_NODE);
    DtdPEntity pentity(&d, U(u"pe"));
    std::unique_ptr<Node> pentityCopy(pentity.cloneNode(false));
    EXPECT_EQ(pentityCopy->getNodeType(), Node::DTD_PENTITY_NODE);

    // Nodes of the declaration and of the internal subset cannot be copied.
    EXPECT_EQ(d.getXMLDecl()->cloneNode(true), nullptr);
    DtdElement element(&d, U(u"p"));
    EXPECT_EQ(element.cloneNode(true), nullptr);
    DtdAttlist attlist(&d, U(u"class"));
    EXPECT_EQ(attlist.cloneNode(true), nullptr);
    EXPECT_EQ(d.cloneNode(true), nullptr);
}
