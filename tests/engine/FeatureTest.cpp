#include "engine/Feature.h"
#include "engine/FeatureColumns.h"
#include "engine/WordClass.h"

#include "NodeChain.h"

#include <gtest/gtest.h>

#include <string>

TEST(FeatureTest, ColumnsAreCountedAtEveryComma)
{
    const char* const feature = "名詞,一般,,*,*,*,学校,ガッコウ,ガッコー";
    EXPECT_TRUE(featureColumn(feature, 0) == "名詞");
    EXPECT_TRUE(featureColumn(feature, 2) == "");
    EXPECT_TRUE(featureColumn(feature, 7) == "ガッコウ");
    EXPECT_TRUE(featureColumn(feature, 8) == "ガッコー");
    EXPECT_TRUE(featureColumn(feature, 9) == "");
    EXPECT_TRUE(featureColumn("名詞,固有名詞,組織,*,*,*,*", 7) == "");
    EXPECT_TRUE(featureColumn("", 0) == "");
    EXPECT_TRUE(featureColumn("a,", 1) == "");
}

TEST(FeatureTest, SplitKeepsEmptyColumnsAndTheLastOne)
{
    FeatureColumns feature(",a,,b,");
    auto columns = [&feature] {
        std::string joined;
        for (uint32_t i = 0; i < feature.count(); ++i)
            joined += "[" + std::string(feature.column(i)) + "]";
        return joined;
    };
    EXPECT_EQ(columns(), "[][a][][b][]");
    // The columns are reused: longer ones, then fewer of them.
    feature.reset("名詞,固有名詞,組織,*,*,*,*");
    EXPECT_EQ(columns(), "[名詞][固有名詞][組織][*][*][*][*]");
    feature.reset("x");
    EXPECT_EQ(columns(), "[x]");
    feature.reset("");
    EXPECT_EQ(columns(), "[]");
    // Only the columns the rules read, up to the base form.
    feature.reset("名詞,一般,*,*,*,*,学校,ガッコウ,ガッコー");
    EXPECT_EQ(columns(), "[名詞][一般][*][*][*][*][学校]");
    EXPECT_EQ(feature.count(), FeatureColumns::MaxColumns);

    const FeatureColumns other("名詞,一般,,*");
    EXPECT_EQ(other.column(0), "名詞");
    EXPECT_EQ(other.column(2), "");
    EXPECT_EQ(other.count(), 4u);
    EXPECT_EQ(other.column(4), "") << "missing column";
}

TEST(FeatureTest, LimitStopsTheSplit)
{
    FeatureColumns feature("名詞,一般,*,*,*,*,学校,ガッコウ", 6);
    EXPECT_EQ(feature.count(), 6u);
    EXPECT_EQ(feature.column(5), "*");
    EXPECT_EQ(feature.column(6), "") << "not split";
    feature.reset("a,b", 6);
    EXPECT_EQ(feature.count(), 2u) << "fewer columns than the limit";
    feature.reset("a,b,c", 0);
    EXPECT_EQ(feature.count(), 1u) << "at least one column";
    feature.reset("a,b,c,d,e,f,g,h,i", 100);
    EXPECT_EQ(feature.count(), FeatureColumns::MaxColumns) << "at most MaxColumns";
}

TEST(FeatureTest, HasFeatureLooksAtColumnsZeroToFiveOnly)
{
    // The values the rules test count in the columns 0 to 5, whole, and
    // nowhere else.
    EXPECT_EQ(classifyWord("名詞,接尾,c,d,e,非自立,助数詞,助数詞").traits, WordClass::Suffix | WordClass::Dependent);
    EXPECT_EQ(classifyWord("名詞,接尾x,x接尾,接尾,助数詞").traits, WordClass::Suffix | WordClass::Counter);
    EXPECT_EQ(classifyWord("名詞,接尾,助数詞x,,").traits, WordClass::Suffix) << "exact match, empty columns";
    EXPECT_EQ(classifyWord("名詞,接尾x").traits, 0);
    EXPECT_EQ(classifyWord("名詞").traits, 0);
}

TEST(FeatureTest, SurfaceComparesExactlyTheNodesBytes)
{
    // Surfaces point into one sentence: "本を" holds 本 directly followed by を.
    const NodeChain chain{{"本", "名詞"}, {"を", "助詞"}};
    EXPECT_TRUE(surfaceIs(chain.word(0), "本"));
    EXPECT_FALSE(surfaceIs(chain.word(0), "本を"));
    EXPECT_FALSE(surfaceIs(chain.word(0), "ほ"));
    EXPECT_FALSE(surfaceIs(chain.word(0), ""));
    EXPECT_TRUE(surfaceIs(chain.first(), ""));
    EXPECT_FALSE(surfaceIs(nullptr, ""));
}
