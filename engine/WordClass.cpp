#include "engine/WordClass.h"

#include "engine/FeatureColumns.h"

#include <cstddef>
#include <string_view>

namespace {

struct Value {
    std::string_view text;
    uint16_t code;
};

constexpr Value partNames[] = {
    {"名詞", WordClass::Noun},          {"助詞", WordClass::Particle},     {"動詞", WordClass::Verb},
    {"助動詞", WordClass::Auxiliary},   {"記号", WordClass::Symbol},       {"副詞", WordClass::Adverb},
    {"形容詞", WordClass::Adjective},   {"連体詞", WordClass::Adnominal},  {"接頭詞", WordClass::Prefix},
    {"接続詞", WordClass::Conjunction}, {"感動詞", WordClass::Interjection}, {"BOS/EOS", WordClass::BosEos},
};

constexpr Value columnValues[] = {
    {"非自立", WordClass::Dependent},       {"接尾", WordClass::Suffix},
    {"助数詞", WordClass::Counter},         {"特殊・ナイ", WordClass::SpecialNai},
    {"助動詞語幹", WordClass::AuxiliaryStem}, {"形容動詞語幹", WordClass::AdjectivalStem},
    {"未然レル接続", WordClass::PassiveStem}, {"サ変・スル", WordClass::SuruVerb},
};

constexpr Value baseForms[] = {
    {"いい", WordClass::BaseIi},         {"なる", WordClass::BaseNaru},       {"くれる", WordClass::DividingVerb},
    {"いる", WordClass::DividingVerb},   {"いく", WordClass::DividingVerb},   {"しまう", WordClass::DividingVerb},
    {"くる", WordClass::DividingVerb},   {"やる", WordClass::DividingVerb},   {"みる", WordClass::DividingVerb},
    {"もらえる", WordClass::DividingVerb}, {"ゆく", WordClass::DividingVerb}, {"くださる", WordClass::DividingVerb},
};

// The codes of a few values, found by a hash of a column's length and of
// the last bytes of its first two characters: most columns land in an empty
// slot and are settled without comparing any text.
class ValueTable {
public:
    template <size_t N>
    constexpr explicit ValueTable(const Value (&values)[N])
    {
        static_assert(N < Slots);
        for (size_t i = 0; i < N; ++i) {
            size_t slot = hash(values[i].text);
            while (m_slots[slot].text.data())
                slot = (slot + 1) % Slots;
            m_slots[slot] = values[i];
        }
    }

    // The code of the column's value; 0 when it is none of them.
    uint16_t find(std::string_view column) const
    {
        for (size_t slot = hash(column);; slot = (slot + 1) % Slots) {
            const Value& value = m_slots[slot];
            if (!value.text.data())
                return 0;
            if (value.text == column)
                return value.code;
        }
    }

private:
    static constexpr size_t Slots = 64;

    static constexpr size_t hash(std::string_view text)
    {
        const size_t third = text.size() > 2 ? static_cast<unsigned char>(text[2]) : 0;
        const size_t sixth = text.size() > 5 ? static_cast<unsigned char>(text[5]) : 0;
        return (text.size() * 7 + third + sixth * 3) % Slots;
    }

    Value m_slots[Slots] = {};
};

constexpr ValueTable partTable(partNames);
constexpr ValueTable columnTable(columnValues);
constexpr ValueTable baseFormTable(baseForms);

} // namespace

WordClass classifyWord(const char* feature)
{
    WordClass word;
    const char* end = feature;
    while (*end != ',' && *end != 0)
        ++end;
    const std::string_view part(feature, static_cast<size_t>(end - feature));
    word.part = static_cast<WordClass::Part>(partTable.find(part));
    // The rules ask traits only of these parts of speech, base forms only of
    // verbs and adjectives; the particles and symbols, a good part of any
    // text, need no more.
    const bool inflecting = word.part == WordClass::Verb || word.part == WordClass::Adjective;
    if (!inflecting && word.part != WordClass::Noun && word.part != WordClass::Auxiliary)
        return word;
    // The base form (column 6) only of the inflecting words.
    const FeatureColumns columns(feature, inflecting ? 7 : 6);
    // Most columns are "*", which no tested value starts with.
    const uint32_t searched = columns.count() < 6 ? columns.count() : 6;
    for (uint32_t i = 0; i < searched; ++i) {
        const std::string_view column = columns.column(i);
        if (!column.empty() && column[0] != '*')
            word.traits |= columnTable.find(column);
    }
    if (inflecting && columns.count() > 6)
        word.traits |= baseFormTable.find(columns.column(6));
    return word;
}
