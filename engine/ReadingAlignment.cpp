#include "engine/ReadingAlignment.h"

#include "engine/RubyReading.h"

using KILN::ArrayList;
using KILN::TString;

namespace {

using Wide = TString<unsigned int>;

// Longer words are not split: the count of splits grows with the product
// of the two lengths.
constexpr uint32_t MaxSplitLength = 64;

Wide slice(const Wide& text, uint32_t begin, uint32_t end)
{
    return Wide(text.data() + begin, end - begin);
}

bool matchesAt(const Wide& text, uint32_t at, const Wide& part)
{
    return at + part.length() <= text.length()
        && Wide::compareUnits(text.data() + at, part.length(), part.data(), part.length()) == 0;
}

bool startsWith(const Wide& text, const Wide& part)
{
    return matchesAt(text, 0, part);
}

bool endsWith(const Wide& text, const Wide& part)
{
    return part.length() <= text.length() && matchesAt(text, text.length() - part.length(), part);
}

// Deletes the segments a word was split into.
struct Segments {
    Segments() = default;
    ~Segments()
    {
        for (uint32_t i = 0; i < list.count(); ++i)
            delete list.atIndex(i);
    }
    Segments(const Segments&) = delete;
    Segments& operator=(const Segments&) = delete;

    ArrayList<TextSegment> list;
};

// A run of a second word's characters that are not hiragana, [begin, end)
// of the group, with its reading when the word's reading splits plainly;
// pieces holds what each first word overlapping it takes of that reading.
struct Run {
    uint32_t begin;
    uint32_t end;
    bool read;
    Wide reading;
    std::vector<uint32_t> words;
    std::vector<Wide> pieces;
};

// What the first word's own reading gives the characters [begin, end) when
// they are one whole run of its own that is not hiragana; empty otherwise.
Wide ownReading(const Wide& text, const GroupWord& word, uint32_t begin, uint32_t end)
{
    if (!word.known)
        return {};
    Segments segments;
    segmentWord(slice(text, word.begin, word.end), segments.list);
    alignReading(segments.list, word.reading);
    uint32_t at = word.begin;
    for (uint32_t i = 0; i < segments.list.count(); ++i) {
        const TextSegment& segment = *segments.list.atIndex(i);
        if (at == begin && at + segment.text.length() == end && !segment.hiragana)
            return segment.reading;
        at += segment.text.length();
    }
    return {};
}

// Splits the run's reading over the first words sharing it: all but the last
// take their own readings as successive prefixes, the last the rest; failing
// that, all but the first as suffixes. False when neither works.
bool splitShared(const Wide& text, const std::vector<GroupWord>& first, Run& run)
{
    const size_t count = run.words.size();
    std::vector<Wide> own(count);
    for (size_t i = 0; i < count; ++i) {
        const GroupWord& word = first[run.words[i]];
        own[i] = ownReading(text, word, std::max(run.begin, word.begin), std::min(run.end, word.end));
    }
    run.pieces.assign(count, Wide());
    Wide rest = run.reading;
    size_t i = 0;
    for (; i + 1 < count && !own[i].isEmpty() && own[i].length() < rest.length() && startsWith(rest, own[i]); ++i) {
        run.pieces[i] = own[i];
        rest = slice(rest, own[i].length(), rest.length());
    }
    if (i + 1 == count) {
        run.pieces[i] = rest;
        return true;
    }
    rest = run.reading;
    for (i = count - 1; i > 0 && !own[i].isEmpty() && own[i].length() < rest.length() && endsWith(rest, own[i]); --i) {
        run.pieces[i] = own[i];
        rest = slice(rest, 0, rest.length() - own[i].length());
    }
    if (i == 0) {
        run.pieces[0] = rest;
        return true;
    }
    return false;
}

// The runs of the second words that are not hiragana, read where they can be.
std::vector<Run> secondRuns(const Wide& text, const std::vector<GroupWord>& second)
{
    std::vector<Run> runs;
    std::vector<Wide> readings;
    for (const GroupWord& word : second) {
        const Wide surface = slice(text, word.begin, word.end);
        const bool read = word.known && splitOverKana(surface, word.reading, readings);
        Segments segments;
        segmentWord(surface, segments.list);
        uint32_t at = word.begin;
        size_t n = 0;
        for (uint32_t i = 0; i < segments.list.count(); ++i) {
            const TextSegment& segment = *segments.list.atIndex(i);
            if (!segment.hiragana) {
                runs.push_back(Run{at, at + segment.text.length(), read, read ? readings[n] : Wide(), {}, {}});
                ++n;
            }
            at += segment.text.length();
        }
    }
    return runs;
}

} // namespace

bool splitOverKana(const Wide& surface, const Wide& reading, std::vector<Wide>& runReadings)
{
    runReadings.clear();
    if (surface.length() > MaxSplitLength || reading.length() > 2 * MaxSplitLength)
        return false;
    Segments segments;
    segmentWord(surface, segments.list);
    const uint32_t count = segments.list.count();
    const uint32_t n = reading.length();
    // ways[i * (n + 1) + at]: the splits of segments i.. over reading[at, n),
    // counted up to two.
    std::vector<uint8_t> ways((count + 1) * (n + 1), 0);
    ways[count * (n + 1) + n] = 1;
    for (uint32_t i = count; i-- > 0;) {
        const TextSegment& segment = *segments.list.atIndex(i);
        for (uint32_t at = 0; at <= n; ++at) {
            uint32_t sum = 0;
            if (segment.hiragana) {
                if (matchesAt(reading, at, segment.text))
                    sum = ways[(i + 1) * (n + 1) + at + segment.text.length()];
            } else {
                for (uint32_t to = at + 1; to <= n && sum < 2; ++to)
                    sum += ways[(i + 1) * (n + 1) + to];
            }
            ways[i * (n + 1) + at] = static_cast<uint8_t>(sum < 2 ? sum : 2);
        }
    }
    if (ways[0] != 1)
        return false;
    uint32_t at = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const TextSegment& segment = *segments.list.atIndex(i);
        if (segment.hiragana) {
            at += segment.text.length();
            continue;
        }
        uint32_t to = at + 1;
        while (ways[(i + 1) * (n + 1) + to] == 0)
            ++to;
        runReadings.push_back(slice(reading, at, to));
        at = to;
    }
    return true;
}

Distribution distributeReadings(const Wide& text, const std::vector<GroupWord>& first,
                                const std::vector<GroupWord>& second)
{
    Distribution distribution;
    std::vector<Run> runs = secondRuns(text, second);
    // The run each character lies in, or none for hiragana.
    std::vector<int32_t> runAt(text.length(), -1);
    for (size_t r = 0; r < runs.size(); ++r) {
        Run& run = runs[r];
        for (uint32_t p = run.begin; p < run.end; ++p)
            runAt[p] = static_cast<int32_t>(r);
        for (size_t k = 0; k < first.size(); ++k) {
            if (first[k].begin < run.end && first[k].end > run.begin)
                run.words.push_back(static_cast<uint32_t>(k));
        }
        if (!run.read)
            continue;
        if (run.words.size() == 1) {
            run.pieces.assign(1, run.reading);
        } else if (!splitShared(text, first, run)) {
            run.read = false;
            if (first[run.words.front()].begin == run.begin && first[run.words.back()].end == run.end)
                distribution.shared.push_back(SharedRun{run.words.front(), run.words.back(), run.reading});
        }
    }
    std::vector<Wide>& given = distribution.readings;
    given.resize(first.size());
    for (size_t k = 0; k < first.size(); ++k) {
        const GroupWord& word = first[k];
        Wide reading;
        bool complete = true;
        bool kanji = false;
        for (uint32_t p = word.begin; p < word.end && complete;) {
            if (runAt[p] < 0) {
                reading.append(text[p++]);
                continue;
            }
            const Run& run = runs[static_cast<size_t>(runAt[p])];
            kanji = true;
            complete = run.read;
            for (size_t i = 0; complete && i < run.words.size(); ++i) {
                if (run.words[i] == k)
                    reading.append(run.pieces[i]);
            }
            p = std::min(run.end, word.end);
        }
        if (complete && kanji)
            given[k] = reading;
    }
    return distribution;
}
