#include "engine/FeatureColumns.h"

#include "NodeChain.h"

#include <gtest/gtest.h>

#include <string>

using KILN::ArrayList;
using KILN::TString;

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
    ArrayList<TString<char>> list;
    auto columns = [&list] {
        std::string joined;
        for (uint32_t i = 0; i < list.count(); ++i)
            joined += "[" + std::string(list.at(i)->data(), list.at(i)->length()) + "]";
        return joined;
    };
    splitFeature(",a,,b,", list);
    EXPECT_EQ(columns(), "[][a][][b][]");
    // A list is reused: longer columns, then fewer of them.
    splitFeature("名詞,固有名詞,組織,*,*,*,*", list);
    EXPECT_EQ(columns(), "[名詞][固有名詞][組織][*][*][*][*]");
    splitFeature("x", list);
    EXPECT_EQ(columns(), "[x]");
    splitFeature("", list);
    EXPECT_EQ(columns(), "[]");
    delete list.at(0);

    const FeatureColumns feature("名詞,一般,,*");
    EXPECT_TRUE(feature.is(0, "名詞"));
    EXPECT_TRUE(feature.is(2, ""));
    EXPECT_FALSE(feature.is(0, "名"));
    EXPECT_FALSE(feature.is(4, "")) << "missing column";
}

TEST(FeatureTest, HasFeatureLooksAtColumnsZeroToFiveOnly)
{
    const FeatureColumns columns("a,b,c,d,e,f,g,h");
    for (const char* value : {"a", "b", "c", "d", "e", "f"})
        EXPECT_TRUE(columns.has(value)) << value;
    EXPECT_FALSE(columns.has("g"));
    EXPECT_FALSE(columns.has("h"));
    EXPECT_FALSE(columns.has("a,b")) << "whole columns only";
    EXPECT_FALSE(columns.has("")) << "no empty column among six";
    EXPECT_TRUE(FeatureColumns("a,,b").has("")) << "empty column";
    EXPECT_FALSE(FeatureColumns("接尾x").has("接尾")) << "exact match";
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
