#include "engine/RubyReading.h"

#include "engine/CodePoints.h"
#include "engine/Feature.h"
#include "engine/PhraseRewriter.h"

#include <string>
#include <string_view>

using KILN::ArrayList;
using KILN::TString;

namespace {

using Wide = TString<unsigned int>;

bool inRange(unsigned int c, unsigned int low, unsigned int high)
{
    return c >= low && c <= high;
}

bool isHiragana(unsigned int c)
{
    return inRange(c, 0x3041, 0x3096);
}

bool isIdeograph(unsigned int c)
{
    return inRange(c, 0x4E00, 0x9FFF) || c == 0x3005 || c == 0x3007 || c == 0x303B || inRange(c, 0x3400, 0x4DBF)
        || inRange(c, 0x2E80, 0x2FDF) || inRange(c, 0xF900, 0xFAFF) || inRange(c, 0x20000, 0x2FFFF);
}

// True when every character of the UTF-8 text is a three-byte one in U+3000
// to U+30FF (E3 80..83 xx) and no ideograph: punctuation and kana, which
// hold no kanji. This settles the many such words without a conversion or
// a cache lookup.
bool isKanaBlock(const char* text, uint32_t length)
{
    if (length % 3 != 0)
        return false;
    for (uint32_t i = 0; i < length; i += 3) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto second = static_cast<unsigned char>(text[i + 1]);
        const auto third = static_cast<unsigned char>(text[i + 2]);
        if (lead != 0xE3 || second < 0x80 || second > 0x83)
            return false;
        // 々, 〇 and 〻 lie in the block too.
        if (isIdeograph(0x3000 | (second & 0x3Fu) << 6 | (third & 0x3Fu)))
            return false;
    }
    return true;
}

// ｜《》〈〉 and the escape ＼: in a base or a reading they would end it.
bool isNotation(unsigned int c)
{
    return c == 0xFF5C || c == 0x300A || c == 0x300B || c == 0x3008 || c == 0x3009 || c == 0xFF3C;
}

bool holdsNotation(const Wide& text)
{
    for (uint32_t i = 0; i < text.length(); ++i) {
        if (isNotation(text[i]))
            return true;
    }
    return false;
}

bool isKana(unsigned int c)
{
    return inRange(c, 0x3001, 0x301F) || isHiragana(c) || inRange(c, 0x30A1, 0x30FF) || inRange(c, 0xFF00, 0xFF8F);
}

// The characters [begin, end) of text.
Wide slice(const Wide& text, uint32_t begin, uint32_t end)
{
    return Wide(text.data() + begin, end - begin);
}

bool matchesAt(const Wide& text, uint32_t at, const Wide& part)
{
    return at + part.length() <= text.length()
        && Wide::compareUnits(text.data() + at, part.length(), part.data(), part.length()) == 0;
}

// Deletes the segments a word was split into.
class SegmentList {
public:
    SegmentList() = default;
    ~SegmentList()
    {
        for (uint32_t i = 0; i < segments.count(); ++i)
            delete segments.atIndex(i);
    }
    SegmentList(const SegmentList&) = delete;
    SegmentList& operator=(const SegmentList&) = delete;

    ArrayList<TextSegment> segments;
};

// The word in ruby notation when it contains kanji, else its surface. A word
// or reading that is not well-formed UTF-8 is copied as it is: a notation
// would change bytes of the text. So is one whose word or reading holds a
// notation character, which the notation could not carry.
void writeNotation(const EngineContext& context, std::string_view surface, std::string_view reading,
                   TString<char>& output)
{
    Wide characters;
    Wide hiragana;
    if (!decodeUtf8(surface, characters) || !containsKanji(characters) || !decodeUtf8(reading, hiragana)
        || holdsNotation(characters) || holdsNotation(hiragana)) {
        output.append(surface.data(), static_cast<uint32_t>(surface.size()));
        return;
    }
    SegmentList list;
    segmentWord(characters, list.segments);
    toHiragana(hiragana);
    alignReading(list.segments, hiragana);
    writeRuby(context, list.segments, output);
}

// Appends the surface in ruby notation with the reading, worked out once for
// each pair of surface and reading.
void appendNotation(const EngineContext& context, std::string_view surface, std::string_view reading,
                    TString<char>& output)
{
    // Without a reading the notation would be an empty ruby text.
    if (isNoReading(reading)) {
        output.append(surface.data(), static_cast<uint32_t>(surface.size()));
        return;
    }
    if (const auto notation = context.rubyCache.find(surface, reading)) {
        output.append(notation->data(), static_cast<uint32_t>(notation->size()));
        return;
    }
    const uint32_t before = output.length();
    writeNotation(context, surface, reading, output);
    context.rubyCache.store(surface, reading, std::string_view(output.data() + before, output.length() - before));
}

} // namespace

bool isNoReading(std::string_view reading)
{
    return reading.empty() || reading == "*";
}

void appendWord(const EngineContext& context, const MeCab::Node* node, TString<char>& output)
{
    // Without ruby the notation would give back the surface itself.
    if (!context.ruby || isKanaBlock(node->surface, node->length)) {
        output.append(node->surface, node->length);
        return;
    }
    const std::string_view surface(node->surface, node->length);
    const std::string_view own = featureColumn(node->feature, 7);
    if (!context.readings) {
        appendNotation(context, surface, own, output);
        return;
    }
    const std::string_view reading = context.readings->readingOf(node, own);
    const uint32_t before = output.length();
    appendNotation(context, surface, reading, output);
    if (reading != own) {
        // The phrase table's ruby patterns are written with the first
        // analysis's readings, and some set marks: where either notation
        // holds a ruby they name, the word keeps its own, so that the marks
        // stay as without the second analysis.
        const uint32_t after = output.length();
        appendNotation(context, surface, own, output);
        const std::string_view taken(output.data() + before, after - before);
        const std::string_view kept(output.data() + after, output.length() - after);
        if (holdsPhraseRuby(taken) || holdsPhraseRuby(kept))
            output.erase(before, after - before);
        else
            output.erase(after, output.length() - after);
    }
    // Words that make up a kanji run UniDic reads as one, written with
    // nothing between them, become one ruby over the run; not where the
    // words' rubies or the run's take part in the phrase table.
    uint32_t from = 0;
    std::string_view base;
    std::string_view shared;
    if (!context.readings->endsSharedRun(node, before, output.length(), from, base, shared))
        return;
    const uint32_t written = output.length();
    appendNotation(context, base, shared, output);
    const std::string_view words(output.data() + from, written - from);
    const std::string_view run(output.data() + written, output.length() - written);
    if (holdsPhraseRuby(words) || holdsPhraseRuby(run))
        output.erase(written, output.length() - written);
    else
        output.erase(from, written - from);
}

bool isKanaText(const Wide& text)
{
    for (uint32_t i = 0; i < text.length(); ++i) {
        if (!isKana(text[i]))
            return false;
    }
    return true;
}

bool containsKanji(const Wide& characters)
{
    if (isKanaText(characters))
        return false;
    for (uint32_t i = 0; i < characters.length(); ++i) {
        if (isIdeograph(characters[i]))
            return true;
    }
    return false;
}

void toHiragana(Wide& reading)
{
    for (uint32_t i = 0; i < reading.length(); ++i) {
        if (inRange(reading[i], 0x30A1, 0x30F6))
            reading.data()[i] -= 0x60;
    }
}

void segmentWord(const Wide& characters, ArrayList<TextSegment>& segments)
{
    TextSegment* current = nullptr;
    for (uint32_t i = 0; i < characters.length(); ++i) {
        const bool hiragana = isHiragana(characters[i]);
        if (!current || current->hiragana != hiragana) {
            current = new TextSegment;
            current->hiragana = hiragana;
            segments.add(current);
        }
        current->text.append(characters[i]);
    }
}

void alignReading(ArrayList<TextSegment>& segments, const Wide& r)
{
    if (segments.isEmpty())
        return;
    // The reading not yet given out is r[begin, end).
    uint32_t begin = 0;
    uint32_t end = r.length();
    int32_t first = 0;
    int32_t last = static_cast<int32_t>(segments.count()) - 1;

    TextSegment& head = *segments.atIndex(0);
    if (head.hiragana) {
        first = 1;
        if (matchesAt(r, begin, head.text)) {
            begin += head.text.length();
            head.reading = head.text;
        }
    }
    TextSegment& tail = *segments.atIndex(static_cast<uint32_t>(last));
    if (tail.hiragana) {
        --last;
        if (end - begin >= tail.text.length() && matchesAt(r, end - tail.text.length(), tail.text)) {
            end -= tail.text.length();
            tail.reading = tail.text;
        }
    }
    if (first == last) {
        segments.atIndex(static_cast<uint32_t>(first))->reading = slice(r, begin, end);
        return;
    }
    for (int32_t i = first; i <= last; ++i) {
        TextSegment& segment = *segments.atIndex(static_cast<uint32_t>(i));
        if (segment.hiragana) {
            // Okurigana inside the word: skip as many characters, unchecked.
            if (!segment.text.isEmpty() && end - begin >= segment.text.length())
                begin += segment.text.length();
            segment.reading = segment.text;
        } else if (i == last) {
            segment.reading = slice(r, begin, end);
            begin = end;
        } else {
            // The run before the next okurigana takes at least one character.
            const Wide& next = segments.atIndex(static_cast<uint32_t>(i) + 1)->text;
            for (uint32_t at = begin + 1; at + next.length() <= end; ++at) {
                if (matchesAt(r, at, next)) {
                    segment.reading = slice(r, begin, at);
                    begin = at;
                    break;
                }
            }
        }
    }
}

void writeRuby(const EngineContext& context, const ArrayList<TextSegment>& segments, TString<char>& output)
{
    // The notation is put together in code points and encoded once.
    Wide notation;
    for (uint32_t i = 0; i < segments.count(); ++i) {
        const TextSegment& segment = *segments.atIndex(i);
        // A run the reading could not be split over stays bare rather than
        // get an empty ruby text.
        if (!context.ruby || segment.hiragana || segment.reading.isEmpty()) {
            notation.append(segment.text);
            continue;
        }
        notation.append(0xFF5C); // ｜
        notation.append(segment.text);
        notation.append(0x300A); // 《
        notation.append(segment.reading);
        notation.append(0x300B); // 》
    }
    appendUtf8(notation, output);
}
