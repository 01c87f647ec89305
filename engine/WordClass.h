#pragma once

#include <cstdint>

// What the kazenoha rules ask about a word, worked out once from its feature:
// the part of speech (column 0) and which of the values the rules test occur
// among the columns 0 to 5 or as the base form (column 6). Only nouns, verbs,
// adjectives and auxiliary verbs get traits, and only verbs and adjectives
// base forms: the rules ask nothing more.
struct WordClass {
    enum Part : uint8_t {
        Other,
        BosEos,      // BOS/EOS
        Noun,        // 名詞
        Verb,        // 動詞
        Adjective,   // 形容詞
        Adverb,      // 副詞
        Adnominal,   // 連体詞
        Prefix,      // 接頭詞
        Conjunction, // 接続詞
        Interjection,// 感動詞
        Particle,    // 助詞
        Auxiliary,   // 助動詞
        Symbol,      // 記号
    };
    enum Trait : uint16_t {
        SpecialNai = 1 << 0,     // 特殊・ナイ among columns 0 to 5
        Dependent = 1 << 1,      // 非自立
        Suffix = 1 << 2,         // 接尾
        AuxiliaryStem = 1 << 3,  // 助動詞語幹
        AdjectivalStem = 1 << 4, // 形容動詞語幹
        Counter = 1 << 5,        // 助数詞
        PassiveStem = 1 << 6,    // 未然レル接続
        SuruVerb = 1 << 7,       // サ変・スル
        BaseIi = 1 << 8,         // base form いい
        BaseNaru = 1 << 9,       // base form なる
        DividingVerb = 1 << 10,  // base form one of the verbs divided from the word before
    };

    Part part = Other;
    uint16_t traits = 0;

    bool is(Part p) const { return part == p; }
    bool has(Trait t) const { return (traits & t) != 0; }
};

// Classifies the word of the feature string; the columns after the part of
// speech are read only when the rules ask traits of it.
WordClass classifyWord(const char* feature);
