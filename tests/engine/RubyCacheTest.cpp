#include "engine/RubyCache.h"

#include <gtest/gtest.h>

#include <string>

TEST(RubyCacheTest, NotationsAreFoundBySurfaceAndReading)
{
    RubyCache cache;
    EXPECT_FALSE(cache.find("本", "ホン"));
    cache.store("本", "ホン", "｜本《ほん》");
    ASSERT_TRUE(cache.find("本", "ホン"));
    EXPECT_EQ(*cache.find("本", "ホン"), "｜本《ほん》");
    EXPECT_FALSE(cache.find("本", "モト")) << "another reading";
    EXPECT_FALSE(cache.find("本ホ", "ン")) << "the parts do not run together";
    EXPECT_FALSE(cache.find("彁", ""));
    cache.store("彁", "", "｜彁《》");
    EXPECT_EQ(*cache.find("彁", ""), "｜彁《》");
}

TEST(RubyCacheTest, AFullCacheStartsAfresh)
{
    RubyCache cache;
    for (size_t i = 0; i < RubyCache::Capacity; ++i)
        cache.store(std::to_string(i), "", "x");
    EXPECT_TRUE(cache.find("0", ""));
    cache.store("new", "", "y");
    EXPECT_FALSE(cache.find("0", ""));
    EXPECT_EQ(*cache.find("new", ""), "y");
}

TEST(RubyCacheTest, ManyWordsSurviveTheTableGrowing)
{
    // Words of every length around the 8-byte hash steps, empty parts among
    // them; all stay findable with their own notation as the table grows.
    RubyCache cache;
    const auto word = [](size_t i) { return std::string(i % 19, static_cast<char>('a' + i % 7)) + std::to_string(i); };
    for (size_t i = 0; i < 5000; ++i)
        cache.store(word(i), i % 3 ? "r" + std::to_string(i) : "", "n" + std::to_string(i));
    for (size_t i = 0; i < 5000; ++i) {
        const auto notation = cache.find(word(i), i % 3 ? "r" + std::to_string(i) : "");
        ASSERT_TRUE(notation) << i;
        EXPECT_EQ(*notation, "n" + std::to_string(i));
    }
    EXPECT_FALSE(cache.find("", ""));
    cache.store("", "", "");
    EXPECT_EQ(cache.find("", ""), std::string_view()) << "an empty word is a word too";
}

TEST(RubyCacheTest, TheArenaIsBoundedInBytes)
{
    // Regression: only the number of words was bounded, so long words could
    // fill memory.
    RubyCache cache;
    const std::string big(RubyCache::ArenaBytes / 4, 'x');
    cache.store("a", "", big);
    cache.store("b", "", big);
    cache.store("c", "", big);
    EXPECT_TRUE(cache.find("a", ""));
    cache.store("d", "", big);
    EXPECT_FALSE(cache.find("a", "")) << "the arena was full";
    EXPECT_TRUE(cache.find("d", ""));
    cache.store("huge", "", std::string(RubyCache::ArenaBytes + 1, 'y'));
    EXPECT_FALSE(cache.find("huge", "")) << "larger than the arena";
    EXPECT_TRUE(cache.find("d", ""));
}
