#include "engine/WordClass.h"

#include <string_view>

namespace {

struct PartName {
    std::string_view name;
    WordClass::Part part;
};

constexpr PartName partNames[] = {
    {"名詞", WordClass::Noun},          {"助詞", WordClass::Particle},     {"動詞", WordClass::Verb},
    {"助動詞", WordClass::Auxiliary},   {"記号", WordClass::Symbol},       {"副詞", WordClass::Adverb},
    {"形容詞", WordClass::Adjective},   {"連体詞", WordClass::Adnominal},  {"接頭詞", WordClass::Prefix},
    {"接続詞", WordClass::Conjunction}, {"感動詞", WordClass::Interjection}, {"BOS/EOS", WordClass::BosEos},
};

struct TraitValue {
    std::string_view value;
    WordClass::Trait trait;
};

constexpr TraitValue columnValues[] = {
    {"非自立", WordClass::Dependent},       {"接尾", WordClass::Suffix},
    {"助数詞", WordClass::Counter},         {"特殊・ナイ", WordClass::SpecialNai},
    {"助動詞語幹", WordClass::AuxiliaryStem}, {"形容動詞語幹", WordClass::AdjectivalStem},
    {"未然レル接続", WordClass::PassiveStem}, {"サ変・スル", WordClass::SuruVerb},
};

constexpr TraitValue baseForms[] = {
    {"いい", WordClass::BaseIi},         {"なる", WordClass::BaseNaru},       {"くれる", WordClass::DividingVerb},
    {"いる", WordClass::DividingVerb},   {"いく", WordClass::DividingVerb},   {"しまう", WordClass::DividingVerb},
    {"くる", WordClass::DividingVerb},   {"やる", WordClass::DividingVerb},   {"みる", WordClass::DividingVerb},
    {"もらえる", WordClass::DividingVerb}, {"ゆく", WordClass::DividingVerb}, {"くださる", WordClass::DividingVerb},
};

// Equality, settled for most columns by their length and third byte (the
// last byte of a first kanji or kana, which tells the values apart) before
// a call compares the bytes.
bool same(std::string_view column, std::string_view value)
{
    return column.size() == value.size() && (value.size() < 3 || column[2] == value[2]) && column == value;
}

uint16_t traitOf(std::string_view column, const TraitValue* values, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (same(column, values[i].value))
            return values[i].trait;
    }
    return 0;
}

} // namespace

WordClass classifyWord(const FeatureColumns& columns)
{
    WordClass word;
    const std::string_view part = columns.column(0);
    for (const PartName& name : partNames) {
        if (same(part, name.name)) {
            word.part = name.part;
            break;
        }
    }
    // The rules ask traits only of these parts of speech, base forms only of
    // verbs and adjectives; the particles and symbols, a good part of any
    // text, need no more.
    const bool inflecting = word.part == WordClass::Verb || word.part == WordClass::Adjective;
    if (!inflecting && word.part != WordClass::Noun && word.part != WordClass::Auxiliary)
        return word;
    // Most columns are "*", which no tested value starts with.
    const uint32_t searched = columns.count() < 6 ? columns.count() : 6;
    for (uint32_t i = 0; i < searched; ++i) {
        const std::string_view column = columns.column(i);
        if (!column.empty() && column[0] != '*')
            word.traits |= traitOf(column, columnValues, std::size(columnValues));
    }
    if (inflecting && columns.count() > 6)
        word.traits |= traitOf(columns.column(6), baseForms, std::size(baseForms));
    return word;
}
