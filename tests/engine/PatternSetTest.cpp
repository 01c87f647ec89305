#include "engine/PatternSet.h"

#include <gtest/gtest.h>

#include <string>

namespace {

uint32_t occurring(const PatternSet& set, const std::string& text, uint32_t wanted = ~0u)
{
    return set.occurring(text.data(), static_cast<uint32_t>(text.size()), wanted);
}

} // namespace

TEST(PatternSetTest, FindsThePatternsThatOccurWhollyInTheText)
{
    PatternSet set;
    set.add("という");
    set.add("とい_");
    set.add("、_");
    set.add("abc");
    EXPECT_EQ(occurring(set, ""), 0u);
    EXPECT_EQ(occurring(set, "これという"), 1u) << "a shared first character";
    EXPECT_EQ(occurring(set, "とい_う"), 2u);
    EXPECT_EQ(occurring(set, "あ、_abc"), 12u) << "at the very end";
    EXPECT_EQ(occurring(set, "あ、"), 0u) << "cut short by the end";
    EXPECT_EQ(occurring(set, "ab"), 0u);
    EXPECT_EQ(occurring(set, "abd、~"), 0u) << "first bytes alike, the rest not";
    EXPECT_EQ(occurring(set, "abcという、_", 5u), 5u) << "only the wanted ones";
    // The three leading bytes of one pattern spread over others.
    EXPECT_EQ(occurring(set, "\xE3\x80\x81\xE3\x81\xA8"), 0u);
}

TEST(PatternSetTest, RefusesWhatItCannotKeyOn)
{
    PatternSet set;
    EXPECT_THROW(set.add("ab"), std::logic_error);
    for (uint32_t i = 0; i < PatternSet::MaxPatterns; ++i)
        set.add("abc");
    EXPECT_THROW(set.add("abc"), std::logic_error);
}
