#include "kiln/base/LinkList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace KILN;

// The sentinel holds the sought pointer during a search; a failed search must
// empty it again, or the element would appear past the end.
TEST(LinkListTest, RemovingAnAbsentElementLeavesTheSentinelEmpty)
{
    int a = 1, b = 2, absent = 3;
    LinkList<int> list;
    EXPECT_FALSE(list.remove(&absent));
    EXPECT_EQ(list.atIndex(0), nullptr);
    EXPECT_TRUE(list.isEmpty());
    list.add(&a);
    list.add(&b);
    EXPECT_FALSE(list.remove(&absent));
    EXPECT_EQ(list.atIndex(2), nullptr);
    EXPECT_EQ(list.count(), 2u);
    std::unique_ptr<Iterator<int>> it(list.iterator());
    EXPECT_EQ(it->next(), &a);
    EXPECT_EQ(it->next(), &b);
    EXPECT_FALSE(it->hasNext());
    EXPECT_EQ(it->next(), nullptr);
}

TEST(LinkListTest, RemovingTheLastElementKeepsTheListUsable)
{
    int a = 1, b = 2, c = 3;
    LinkList<int> list;
    list.add(&a);
    list.add(&b);
    EXPECT_TRUE(list.remove(&b));
    EXPECT_EQ(list.last(), &a);
    EXPECT_EQ(list.next(&a), nullptr);
    list.add(&c);
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.last(), &c);
    EXPECT_EQ(list.removeLast(), &c);
    EXPECT_EQ(list.removeLast(), &a);
    EXPECT_TRUE(list.isEmpty());
    list.add(&b);
    EXPECT_EQ(list.first(), &b);
    EXPECT_EQ(list.last(), &b);
}
