#include "engine/WordClass.h"

#include <gtest/gtest.h>

namespace {

WordClass classOf(const char* feature)
{
    return classifyWord(feature);
}

} // namespace

TEST(WordClassTest, PartOfSpeechIsColumnZeroExactly)
{
    EXPECT_EQ(classOf("名詞,一般,*,*,*,*,本,ホン,ホン").part, WordClass::Noun);
    EXPECT_EQ(classOf("助動詞,*,*,*,特殊・ナイ,基本形,ない,ナイ,ナイ").part, WordClass::Auxiliary);
    EXPECT_EQ(classOf("BOS/EOS,*,*,*,*,*,*,*,*").part, WordClass::BosEos);
    EXPECT_EQ(classOf("フィラー,*,*,*,*,*,あの,アノ,アノ").part, WordClass::Other);
    EXPECT_EQ(classOf("名詞x,一般").part, WordClass::Other);
    EXPECT_EQ(classOf("").part, WordClass::Other);
    EXPECT_EQ(classOf("一般,名詞").part, WordClass::Other) << "column 1 is no part of speech";
}

TEST(WordClassTest, TraitsComeFromColumnsZeroToFiveAndTheBaseForm)
{
    const WordClass counter = classOf("名詞,接尾,助数詞,*,*,*,本,ホン,ホン");
    EXPECT_TRUE(counter.has(WordClass::Suffix));
    EXPECT_TRUE(counter.has(WordClass::Counter));
    EXPECT_FALSE(counter.has(WordClass::Dependent));
    // Any of the columns 0 to 5 counts, none after them.
    EXPECT_EQ(classOf("名詞,b,c,d,e,非自立,接尾,接尾").traits, WordClass::Dependent);
    EXPECT_EQ(classOf("動詞,非自立,*,*,五段・ラ行,基本形,なる,ナル,ナル").traits, WordClass::Dependent | WordClass::BaseNaru);
    EXPECT_EQ(classOf("動詞,非自立,*,*,*,基本形,しまう").traits, WordClass::Dependent | WordClass::DividingVerb);
    EXPECT_EQ(classOf("形容詞,自立,*,*,形容詞・イイ,基本形,いい").traits, WordClass::BaseIi);
    EXPECT_EQ(classOf("形容詞,自立,*,*,形容詞・イイ,基本形,いいえ").traits, 0) << "whole columns only";
    EXPECT_EQ(classOf("名詞,一般,*,*,*,*,接尾,ホン,ホン").traits, 0) << "a sub-class as base form";
    EXPECT_EQ(classOf("動詞,いい,なる").traits, 0) << "a base form among the sub-classes";
    // The rules ask nothing more of other words.
    EXPECT_EQ(classOf("助詞,接尾,*,*,*,*,いい").traits, 0);
    EXPECT_EQ(classOf("名詞,接尾,*,*,*,*,いい").traits, WordClass::Suffix) << "no base form of nouns";
}
