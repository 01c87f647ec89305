#include "engine/RubyCache.h"

#include <gtest/gtest.h>

#include <string>

TEST(RubyCacheTest, NotationsAreFoundBySurfaceAndReading)
{
    RubyCache cache;
    EXPECT_EQ(cache.find("本", "ホン"), nullptr);
    cache.store("本", "ホン", "｜本《ほん》");
    ASSERT_NE(cache.find("本", "ホン"), nullptr);
    EXPECT_EQ(*cache.find("本", "ホン"), "｜本《ほん》");
    EXPECT_EQ(cache.find("本", "モト"), nullptr) << "another reading";
    EXPECT_EQ(cache.find("本ホ", "ン"), nullptr) << "the parts do not run together";
    EXPECT_EQ(cache.find("彁", ""), nullptr);
    cache.store("彁", "", "｜彁《》");
    EXPECT_EQ(*cache.find("彁", ""), "｜彁《》");
}

TEST(RubyCacheTest, AFullCacheStartsAfresh)
{
    RubyCache cache;
    for (size_t i = 0; i < RubyCache::Capacity; ++i)
        cache.store(std::to_string(i), "", "x");
    EXPECT_NE(cache.find("0", ""), nullptr);
    cache.store("new", "", "y");
    EXPECT_EQ(cache.find("0", ""), nullptr);
    EXPECT_EQ(*cache.find("new", ""), "y");
}
