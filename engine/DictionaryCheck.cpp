#include "engine/DictionaryCheck.h"

#include "engine/Feature.h"

#include <cctype>
#include <string_view>

namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != lower[i])
            return false;
    }
    return true;
}

} // namespace

std::string charsetProblem(const char* charset)
{
    const std::string_view name = charset ? charset : "";
    if (equalsIgnoringCase(name, "utf-8") || equalsIgnoringCase(name, "utf8"))
        return {};
    return "its charset is " + std::string(name.empty() ? "not given" : name) + ", not UTF-8";
}

std::string layoutProblem(const MeCab::Node* first)
{
    const MeCab::Node* word = first ? first->next : nullptr;
    if (!word || !word->next)
        return std::string("it analyses nothing of ") + ProbeWord;
    // The IPADIC columns the engine reads: part of speech, sub-class, base
    // form and reading.
    const char* feature = word->feature ? word->feature : "";
    const bool ipadic = surfaceIs(word, ProbeWord) && !word->next->next && featureColumn(feature, 0) == "動詞"
        && featureColumn(feature, 1) == "自立" && featureColumn(feature, 6) == ProbeWord
        && featureColumn(feature, 7) == "タベル";
    if (ipadic)
        return {};
    // The columns the engine would read, enough to tell the layout.
    std::string_view columns = feature;
    size_t cut = 0;
    for (int commas = 0; cut < columns.size() && !(columns[cut] == ',' && ++commas == 8);)
        ++cut;
    columns = columns.substr(0, cut);
    return std::string("its features are not in the IPADIC layout (") + ProbeWord + ": "
        + std::string(word->surface, word->length) + " " + std::string(columns) + ")";
}

std::string dictionaryProblem(MeCab::Tagger& tagger)
{
    const MeCab::DictionaryInfo* system = tagger.dictionary_info();
    while (system && system->type != MECAB_SYS_DIC)
        system = system->next;
    if (!system)
        return "MeCab names no system dictionary";
    std::string problem = charsetProblem(system->charset);
    if (problem.empty())
        problem = layoutProblem(tagger.parseToNode(ProbeWord));
    if (problem.empty())
        return {};
    return "MeCab's dictionary " + std::string(system->filename ? system->filename : "") + " is not the UTF-8 IPADIC: "
        + problem;
}
