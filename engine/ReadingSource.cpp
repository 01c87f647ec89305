#include "engine/ReadingSource.h"

#include "engine/CodePoints.h"
#include "engine/Feature.h"
#include "engine/ReadingAlignment.h"
#include "engine/RubyReading.h"

#include <sys/stat.h>

#include <algorithm>

using KILN::TString;

namespace {

using Wide = TString<unsigned int>;

// A group holds at most so many words of the first analysis, and is widened
// at most so many times: longer ones keep their own readings.
constexpr uint32_t MaxGroupWords = 16;
constexpr uint32_t MaxGroupRounds = 8;

// Column n of a UniDic feature. Unlike IPADIC's, its columns may be quoted
// ("動詞%F2@0,名詞%F1"), and a quoted column may hold commas; "" inside
// quotes is a quote. Empty when the feature has fewer columns.
std::string_view unidicColumn(const char* feature, uint32_t n)
{
    // One pass over the zero-terminated text, which is some 200 bytes long:
    // its length is not worked out first.
    const char* at = feature;
    for (uint32_t column = 0;; ++column) {
        const char* end = at;
        if (*end == '"') {
            for (++end; *end && !(*end == '"' && end[1] != '"'); end += *end == '"' ? 2 : 1) {
            }
            if (*end)
                ++end;
        }
        while (*end && *end != ',')
            ++end;
        if (column == n)
            return std::string_view(at, static_cast<size_t>(end - at));
        if (!*end)
            return {};
        at = end + 1;
    }
}

// True unless the UTF-8 text surely holds no ideograph: every character
// below U+3400 but 々 (E3 80 85), 〇 (E3 80 87) and 〻 (E3 80 BB). Runs of
// kana and punctuation alone need no second analysis.
bool mayHoldKanji(const char* text, uint32_t length)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (uint32_t i = 0; i < length; ++i) {
        if (bytes[i] >= 0xE4)
            return true;
        if (bytes[i] != 0xE3 || i + 2 >= length)
            continue;
        const unsigned char second = bytes[i + 1];
        const unsigned char third = bytes[i + 2];
        if (second >= 0x90 || (second == 0x80 && (third == 0x85 || third == 0x87 || third == 0xBB)))
            return true;
    }
    return false;
}

// The first analysis's reading (IPADIC's column 7) in hiragana.
bool ownReading(const MeCab::Node* node, Wide& reading)
{
    const std::string_view own = featureColumn(node->feature, 7);
    if (isNoReading(own) || !decodeUtf8(own, reading))
        return false;
    toHiragana(reading);
    return true;
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
    const MeCab::Node* node = tagger->parseToNode(probe, sizeof probe - 1);
    while (node && node->stat == MECAB_BOS_NODE)
        node = node->next;
    if (!node || node->length != sizeof probe - 1 || unidicColumn(node->feature, KanaColumn) != "トウキョウ")
        throw Refused("The reading dictionary is not a UniDic (no reading as written in feature column 20): "
                      + name);
    return source;
}

void ReadingSource::startRun(const char* text, uint32_t length)
{
    m_text = text;
    m_length = length;
    m_words.clear();
    m_groupBegin = m_groupEnd = 0;
    m_given.clear();
    m_shared.clear();
    m_chain = nullptr;
    // Analysed now, before the first analysis of the run: analysed between
    // that and the walk over its words, UniDic's dictionary would push the
    // first one's out of the caches.
    if (mayHoldKanji(text, length))
        analyse();
}

void ReadingSource::analyse()
{
    for (const MeCab::Node* node = m_tagger->parseToNode(m_text, m_length); node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        const auto begin = static_cast<uint32_t>(node->surface - m_text);
        m_words.push_back(Word{begin, begin + node->length, node->feature, node->stat != MECAB_UNK_NODE});
        // The readings of words that may hold kanji (a lead byte of U+4E00
        // and on) are read later; their first columns are fetched now, all
        // at once, where each read would otherwise wait for memory alone.
        if (static_cast<unsigned char>(node->surface[0]) >= 0xE4) {
            for (uint32_t line = 0; line < 192; line += 64)
                __builtin_prefetch(node->feature + line);
        }
    }
}

size_t ReadingSource::wordAt(uint32_t at) const
{
    const auto after = std::upper_bound(m_words.begin(), m_words.end(), at,
                                        [](uint32_t byte, const Word& word) { return byte < word.begin; });
    if (after == m_words.begin() || (after - 1)->end <= at)
        return m_words.size();
    return static_cast<size_t>(after - 1 - m_words.begin());
}

std::string_view ReadingSource::kanaOf(const Word& word) const
{
    return word.known ? unidicColumn(word.feature, KanaColumn) : std::string_view();
}

bool ReadingSource::tiledReading(uint32_t begin, uint32_t end)
{
    size_t i = wordAt(begin);
    if (i == m_words.size() || m_words[i].begin != begin)
        return false;
    m_joined.clear();
    for (uint32_t at = begin; at < end; ++i) {
        // A word crossing the end, a gap, or a word without reading.
        if (i == m_words.size() || m_words[i].begin != at || m_words[i].end > end)
            return false;
        const std::string_view kana = kanaOf(m_words[i]);
        if (kana.empty())
            return false;
        m_joined.append(kana);
        at = m_words[i].end;
    }
    return true;
}

bool ReadingSource::readGroup(const MeCab::Node* node)
{
    const auto beginOf = [this](const MeCab::Node* n) { return static_cast<uint32_t>(n->surface - m_text); };
    const auto endOf = [&beginOf](const MeCab::Node* n) { return beginOf(n) + n->length; };
    // Widen to the UniDic words at both edges, then to the first analysis's
    // words at theirs, until the edges are common to both.
    const MeCab::Node* firstNode = node;
    const MeCab::Node* lastNode = node;
    uint32_t words = 1;
    size_t left = 0;
    size_t right = 0;
    for (uint32_t round = 0;; ++round) {
        left = wordAt(beginOf(firstNode));
        right = wordAt(endOf(lastNode) - 1);
        if (round == MaxGroupRounds || left == m_words.size() || right == m_words.size())
            return false;
        while (beginOf(firstNode) > m_words[left].begin) {
            const MeCab::Node* prev = firstNode->prev;
            // A gap (white space) or the run's start.
            if (!prev || prev->stat == MECAB_BOS_NODE || prev->surface < m_text || endOf(prev) != beginOf(firstNode)
                || ++words > MaxGroupWords)
                return false;
            firstNode = prev;
        }
        while (endOf(lastNode) < m_words[right].end) {
            const MeCab::Node* next = lastNode->next;
            if (!next || next->stat == MECAB_EOS_NODE || endOf(next) > m_length || beginOf(next) != endOf(lastNode)
                || ++words > MaxGroupWords)
                return false;
            lastNode = next;
        }
        if (beginOf(firstNode) == m_words[left].begin && endOf(lastNode) == m_words[right].end)
            break;
    }
    // Both analyses' words in code points of the group.
    Wide text;
    Wide part;
    std::vector<GroupWord> first;
    for (const MeCab::Node* n = firstNode;; n = n->next) {
        if (!decodeUtf8(std::string_view(n->surface, n->length), part))
            return false;
        GroupWord word{text.length(), text.length() + part.length(), Wide(), false};
        word.known = ownReading(n, word.reading);
        first.push_back(word);
        text.append(part);
        if (n == lastNode)
            break;
    }
    std::vector<GroupWord> second;
    uint32_t at = 0;
    for (size_t i = left; i <= right; ++i) {
        const Word& unidic = m_words[i];
        if (i > left && unidic.begin != m_words[i - 1].end)
            return false;
        if (!decodeUtf8(std::string_view(m_text + unidic.begin, unidic.end - unidic.begin), part))
            return false;
        GroupWord word{at, at + part.length(), Wide(), false};
        word.known = !kanaOf(unidic).empty() && decodeUtf8(kanaOf(unidic), word.reading);
        toHiragana(word.reading);
        second.push_back(word);
        at += part.length();
    }
    if (at != text.length())
        return false;
    const Distribution distribution = distributeReadings(text, first, second);
    m_groupBegin = beginOf(firstNode);
    m_groupEnd = endOf(lastNode);
    m_given.clear();
    m_shared.clear();
    m_chain = nullptr;
    TString<char> utf8;
    std::vector<const MeCab::Node*> nodes;
    for (const MeCab::Node* n = firstNode;; n = n->next) {
        utf8.clear();
        appendUtf8(distribution.readings[nodes.size()], utf8);
        m_given.push_back(Given{beginOf(n), std::string(utf8.data(), utf8.length())});
        nodes.push_back(n);
        if (n == lastNode)
            break;
    }
    for (const SharedRun& run : distribution.shared) {
        utf8.clear();
        appendUtf8(run.reading, utf8);
        m_shared.push_back(Shared{beginOf(nodes[run.first]), endOf(nodes[run.last]), std::string(utf8.data(), utf8.length())});
    }
    return true;
}

bool ReadingSource::endsSharedRun(const MeCab::Node* node, uint32_t before, uint32_t after, uint32_t& from,
                                  std::string_view& base, std::string_view& reading)
{
    const Shared* shared = nullptr;
    if (m_text && node->surface >= m_text && node->surface + node->length <= m_text + m_length) {
        const auto begin = static_cast<uint32_t>(node->surface - m_text);
        for (const Shared& run : m_shared) {
            if (begin >= run.begin && begin < run.end)
                shared = &run;
        }
    }
    const auto begin = shared ? static_cast<uint32_t>(node->surface - m_text) : 0;
    if (shared && begin == shared->begin) {
        m_chain = shared;
        m_chainFrom = before;
    } else if (!shared || shared != m_chain || begin != m_chainNext || before != m_chainEnd) {
        m_chain = nullptr;
        return false;
    }
    m_chainNext = begin + node->length;
    m_chainEnd = after;
    if (m_chainNext != shared->end)
        return false;
    m_chain = nullptr;
    from = m_chainFrom;
    base = std::string_view(m_text + shared->begin, shared->end - shared->begin);
    reading = shared->reading;
    return true;
}

std::string_view ReadingSource::readingOf(const MeCab::Node* node, std::string_view fallback)
{
    if (!m_text || node->surface < m_text || node->length == 0 || node->surface + node->length > m_text + m_length)
        return fallback;
    const auto begin = static_cast<uint32_t>(node->surface - m_text);
    const uint32_t end = begin + node->length;
    const bool inGroup = begin >= m_groupBegin && end <= m_groupEnd;
    if (!inGroup && tiledReading(begin, end))
        return m_joined;
    if (!inGroup && !readGroup(node))
        return fallback;
    for (const Given& given : m_given) {
        if (given.begin == begin)
            return given.reading.empty() ? fallback : std::string_view(given.reading);
    }
    return fallback;
}
