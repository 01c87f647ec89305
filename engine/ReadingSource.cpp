#include "engine/ReadingSource.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

// Column n of a UniDic feature. Unlike IPADIC's, its columns may be quoted
// ("動詞%F2@0,名詞%F1"), and a quoted column may hold commas; "" inside
// quotes is a quote. Empty when the feature has fewer columns.
std::string_view unidicColumn(const char* feature, uint32_t n)
{
    const std::string_view text(feature);
    size_t at = 0;
    for (uint32_t column = 0;; ++column) {
        size_t end = at;
        if (end < text.size() && text[end] == '"') {
            for (++end; end < text.size(); ++end) {
                if (text[end] == '"' && !(end + 1 < text.size() && text[end + 1] == '"'))
                    break;
                if (text[end] == '"')
                    ++end;
            }
            end = std::min(text.size(), end + 1);
        }
        end = std::min(text.size(), text.find(',', end));
        if (column == n)
            return text.substr(at, end - at);
        if (end == text.size())
            return {};
        at = end + 1;
    }
}

bool isDirectory(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::unique_ptr<ReadingSource> ReadingSource::open(const char* folder, const std::vector<const char*>& arguments)
{
    const std::string name(folder);
    if (!isDirectory(folder))
        throw Refused("The reading dictionary folder does not exist: " + name);
    // MeCab would look for a missing file only as it loads, and say little.
    if (!isFile(name + "/sys.dic") || !isFile(name + "/dicrc"))
        throw Refused("The reading dictionary folder holds no MeCab dictionary (sys.dic, dicrc): " + name);
    std::vector<const char*> withFolder = arguments;
    withFolder.push_back("-d");
    withFolder.push_back(folder);
    withFolder.push_back(nullptr);
    MeCab::Tagger* tagger =
        MeCab::createTagger(static_cast<int>(withFolder.size() - 1), const_cast<char**>(withFolder.data()));
    if (!tagger)
        throw Refused("MeCab cannot load the reading dictionary " + name + ": " + MeCab::getLastError());
    std::unique_ptr<ReadingSource> source(new ReadingSource(tagger));
    const MeCab::DictionaryInfo* info = tagger->dictionary_info();
    if (!info || (std::string_view(info->charset) != "UTF-8" && std::string_view(info->charset) != "utf8"))
        throw Refused("The reading dictionary is not in UTF-8: " + name);
    // A UniDic gives 東京 its reading as written in the kana column; another
    // layout (IPADIC's ends at column 8) gives nothing there.
    static const char probe[] = "東京";
    source->analyse(probe, sizeof probe - 1);
    if (source->readingOf(probe, sizeof probe - 1, {}) != "トウキョウ")
        throw Refused("The reading dictionary is not a UniDic (no reading as written in feature column 20): "
                      + name);
    return source;
}

void ReadingSource::analyse(const char* text, uint32_t length)
{
    m_text = text;
    m_length = length;
    m_words.clear();
    m_readings.clear();
    m_cursor = 0;
    const MeCab::Node* node = m_tagger->parseToNode(text, length);
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        const std::string_view reading =
            node->stat == MECAB_UNK_NODE ? std::string_view() : unidicColumn(node->feature, KanaColumn);
        const auto begin = static_cast<uint32_t>(node->surface - text);
        m_words.push_back(Word{begin, begin + node->length, static_cast<uint32_t>(m_readings.size()),
                               static_cast<uint32_t>(reading.size()), !reading.empty()});
        m_readings.append(reading);
    }
}

size_t ReadingSource::firstWordFrom(uint32_t begin)
{
    // Words are asked for in order: go on from the last one.
    if (m_cursor > m_words.size() || (m_cursor > 0 && m_words[m_cursor - 1].begin >= begin))
        m_cursor = 0;
    while (m_cursor < m_words.size() && m_words[m_cursor].begin < begin)
        ++m_cursor;
    return m_cursor;
}

std::string_view ReadingSource::readingOf(const char* surface, uint32_t length, std::string_view fallback)
{
    if (surface < m_text || surface + length > m_text + m_length || length == 0)
        return fallback;
    const auto begin = static_cast<uint32_t>(surface - m_text);
    const uint32_t end = begin + length;
    size_t i = firstWordFrom(begin);
    if (i == m_words.size() || m_words[i].begin != begin)
        return fallback;
    m_joined.clear();
    for (uint32_t at = begin; at < end; ++i) {
        // A word crossing the end, a gap, or a word without reading.
        if (i == m_words.size() || m_words[i].begin != at || m_words[i].end > end || !m_words[i].known)
            return fallback;
        m_joined.append(m_readings, m_words[i].readingAt, m_words[i].readingLength);
        at = m_words[i].end;
    }
    return m_joined;
}
