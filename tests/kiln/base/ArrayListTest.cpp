#include "kiln/base/ArrayList.h"

#include <gtest/gtest.h>

using namespace KILN;

TEST(ArrayListTest, GrowsByTwelveEntriesWhenFewerThanTwoAreFree)
{
    int values[40] = {};
    ArrayList<int> list;
    EXPECT_EQ(list.capacity(), 10u);
    for (int i = 0; i < 9; ++i)
        list.add(&values[i]);
    EXPECT_EQ(list.capacity(), 10u);
    list.add(&values[9]);
    EXPECT_EQ(list.capacity(), 21u);
    for (int i = 10; i < 20; ++i)
        list.add(&values[i]);
    EXPECT_EQ(list.capacity(), 21u);
    list.add(&values[20]);
    EXPECT_EQ(list.capacity(), 32u);
    list.prepend(&values[21]);
    EXPECT_EQ(list.count(), 22u);
    EXPECT_EQ(list.first(), &values[21]);
    EXPECT_EQ(list.atIndex(21), &values[20]);
}

TEST(ArrayListTest, SentinelSearchOnAFullArrayFindsNothingBeyondTheCount)
{
    int values[10] = {};
    ArrayList<int> list;
    for (int i = 0; i < 9; ++i)
        list.add(&values[i]);  // count 9 in 10 entries: the sentinel is the last entry
    EXPECT_EQ(list.positionOf(&values[9]), 0u);
    EXPECT_EQ(list.positionOf(&values[8]), 9u);
    EXPECT_EQ(list.atIndex(9), nullptr);
    list.clear();
    EXPECT_EQ(list.positionOf(&values[0]), 0u);
    EXPECT_EQ(list.count(), 0u);
}
