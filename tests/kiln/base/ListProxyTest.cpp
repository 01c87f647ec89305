#include "kiln/base/ArrayList.h"
#include "kiln/base/LinkList.h"
#include "kiln/base/ListProxy.h"

#include <gtest/gtest.h>

using namespace KILN;

TEST(ListProxyTest, OperatesOnItsTargetAndCanBeRetargeted)
{
    int a = 1, b = 2, c = 3;
    ArrayList<int> array;
    LinkList<int> links;
    ListProxy<int> proxy(array);
    EXPECT_TRUE(proxy.add(&a));
    proxy.prepend(&b);
    EXPECT_EQ(array.count(), 2u);
    EXPECT_EQ(array.first(), &b);
    EXPECT_TRUE(proxy.removeBefore(&a));  // a List operation built on the target's primitives
    EXPECT_EQ(array.count(), 1u);

    proxy.retarget(links);
    EXPECT_TRUE(proxy.isEmpty());
    proxy.add(&c);
    EXPECT_EQ(links.last(), &c);
    EXPECT_EQ(proxy.positionOf(&c), 1u);
    EXPECT_EQ(array.positionOf(&c), 0u);
    links.clear();
}
