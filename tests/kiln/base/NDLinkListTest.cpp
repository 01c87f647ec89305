#include "kiln/base/NDLinkList.h"

#include <gtest/gtest.h>

using namespace KILN;

namespace {

struct Counted : NDLinkListNode<Counted> {
    Counted() { ++alive; }
    Counted(const Counted& other) : NDLinkListNode<Counted>(other) { ++alive; }
    ~Counted() override { --alive; }
    static int alive;
};
int Counted::alive = 0;

bool unlinked(const Counted& e) { return !e.nextInList() && !e.previousInList(); }

} // namespace

TEST(NDLinkListTest, AnOwningListDeletesWhatItDrops)
{
    Counted::alive = 0;
    {
        NDLinkList<Counted> list(true);
        for (int i = 0; i < 6; ++i)
            list.add(new Counted);
        EXPECT_EQ(Counted::alive, 6);
        EXPECT_TRUE(list.removeAt(1));
        EXPECT_TRUE(list.removeRange(1, 2));
        EXPECT_EQ(Counted::alive, 3);
        Counted* taken = list.removeFirst();  // handed back, not deleted
        EXPECT_EQ(Counted::alive, 3);
        EXPECT_TRUE(unlinked(*taken));
        delete taken;
        list.clear();
        EXPECT_EQ(Counted::alive, 0);
        list.add(new Counted);
        list.add(new Counted);
    }
    EXPECT_EQ(Counted::alive, 0);  // destruction deletes the rest
}

TEST(NDLinkListTest, ANonOwningListOnlyUnlinks)
{
    Counted::alive = 0;
    Counted a, b, c;
    {
        NDLinkList<Counted> list;
        list.add(&a);
        list.add(&b);
        list.add(&c);
        EXPECT_EQ(b.previousInList(), &a);
        EXPECT_EQ(b.nextInList(), &c);
        list.clear();
        EXPECT_TRUE(unlinked(a) && unlinked(b) && unlinked(c));
        list.add(&a);
        list.add(&b);
    }
    EXPECT_EQ(Counted::alive, 3);
    EXPECT_TRUE(unlinked(a) && unlinked(b));
}

TEST(NDLinkListTest, ALinkedElementCannotBeLinkedAgain)
{
    Counted a, b, c;
    NDLinkList<Counted> one;
    NDLinkList<Counted> two;
    one.add(&a);
    one.add(&b);
    EXPECT_FALSE(one.add(&a));
    EXPECT_FALSE(one.add(&b));
    EXPECT_FALSE(two.add(&b));
    EXPECT_FALSE(one.insertAfter(&a, &b));
    two.prepend(&b);
    EXPECT_TRUE(two.isEmpty());
    EXPECT_EQ(one.count(), 2u);
    // A copy of a linked element starts unlinked.
    Counted copy(b);
    EXPECT_TRUE(unlinked(copy));
    EXPECT_TRUE(two.add(&copy));
    EXPECT_EQ(one.next(&a), &b);
    two.clear();
    one.clear();
}

TEST(NDLinkListTest, PrependAllMovesAWholeListToTheFront)
{
    Counted e[5];
    NDLinkList<Counted> list;
    NDLinkList<Counted> other;
    list.prependAll(other);  // both empty
    EXPECT_TRUE(list.isEmpty());
    other.add(&e[0]);
    other.add(&e[1]);
    list.prependAll(other);  // into an empty list
    EXPECT_TRUE(other.isEmpty());
    EXPECT_EQ(list.first(), &e[0]);
    EXPECT_EQ(list.last(), &e[1]);
    other.add(&e[2]);
    other.add(&e[3]);
    list.prependAll(other);  // in front of what it holds
    EXPECT_TRUE(other.isEmpty());
    EXPECT_EQ(other.first(), nullptr);
    EXPECT_EQ(other.last(), nullptr);
    const Counted* expected[] = {&e[2], &e[3], &e[0], &e[1]};
    EXPECT_EQ(list.count(), 4u);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(list.atIndex(i), expected[i]) << i;
    EXPECT_EQ(e[0].previousInList(), &e[3]);
    EXPECT_EQ(list.previous(&e[2]), nullptr);
    EXPECT_EQ(list.last(), &e[1]);
    // Both lists still work as lists.
    other.add(&e[4]);
    EXPECT_EQ(list.removeLast(), &e[1]);
    EXPECT_EQ(list.removeFirst(), &e[2]);
    EXPECT_EQ(list.count(), 2u);
    list.clear();
    other.clear();
}
