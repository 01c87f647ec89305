#pragma once

#include <mecab.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Readings from a second analysis with a UniDic dictionary. A run of text
// that may hold kanji is analysed again as it starts; a word of the first
// analysis takes the readings of the UniDic words that
// cover exactly its characters (UniDic's "kana" column, the reading as
// written in katakana). Where the words do not line up, the smallest group of
// words of both analyses with common outer edges is taken, and the UniDic
// readings are split over the first analysis's words where that is plain
// (see ReadingAlignment.h). Where no reading comes of it, or a UniDic word
// has none (an unknown word), the caller's reading stays.
// An engine context owns one; it holds the state of the current run and
// must not be shared between threads.
class ReadingSource {
public:
    // Why a folder cannot serve as the reading dictionary.
    class Refused : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // The column of the reading as written: 東京 トウキョウ, where the
    // pronunciation column reads トーキョー.
    static constexpr uint32_t KanaColumn = 20;

    // Opens the UniDic folder with the analyser's arguments (the first one
    // the program name), to which "-d folder" is added. Throws Refused when
    // the folder is missing, MeCab cannot load it, or its words carry no
    // reading in the kana column.
    static std::unique_ptr<ReadingSource> open(const char* folder, const std::vector<const char*>& arguments);

    // Starts a run of length bytes, before the first analysis of it; the
    // first analysis's nodes asked about until the next run point into text,
    // which must stay unchanged.
    void startRun(const char* text, uint32_t length);
    // The reading of a word of the first analysis of the run, whose
    // neighbours (prev, next) are the run's other words: in katakana or
    // hiragana; fallback when the second analysis gives none. The view is
    // valid until the next call.
    std::string_view readingOf(const MeCab::Node* node, std::string_view fallback);
    // Told, after readingOf, that the node was written to output[before,
    // after): true when it ends a run of kanji that whole words make up, that
    // UniDic reads as one and that cannot be split over them, and they were
    // written one after the other with nothing (no mark) between them. Then
    // from is where the run's first word was written, base its characters
    // and reading UniDic's reading of it (hiragana), valid until the next call.
    bool endsSharedRun(const MeCab::Node* node, uint32_t before, uint32_t after, uint32_t& from,
                       std::string_view& base, std::string_view& reading);

private:
    // A UniDic word: bytes [begin, end) of the run; its feature is read only
    // when its reading is needed. An unknown word has known false.
    struct Word {
        uint32_t begin;
        uint32_t end;
        const char* feature;
        bool known;
    };
    // The reading a word of a group was given: bytes [begin, end), empty
    // where it keeps its own.
    struct Given {
        uint32_t begin;
        std::string reading;
    };
    // A run of kanji that cannot be split over the words making it up:
    // bytes [begin, end) and its reading.
    struct Shared {
        uint32_t begin;
        uint32_t end;
        std::string reading;
    };

    explicit ReadingSource(MeCab::Tagger* tagger) : m_tagger(tagger) {}
    void analyse();
    // The word holding byte at, or m_words.size().
    size_t wordAt(uint32_t at) const;
    std::string_view kanaOf(const Word& word) const;
    // The joined readings of the words tiling bytes [begin, end) exactly.
    bool tiledReading(uint32_t begin, uint32_t end);
    // Works out the group around the node; false when there is none.
    bool readGroup(const MeCab::Node* node);

    std::unique_ptr<MeCab::Tagger> m_tagger;
    const char* m_text = nullptr;
    uint32_t m_length = 0;
    std::vector<Word> m_words;
    std::string m_joined;
    // The group worked out last: bytes [m_groupBegin, m_groupEnd).
    uint32_t m_groupBegin = 0;
    uint32_t m_groupEnd = 0;
    std::vector<Given> m_given;
    std::vector<Shared> m_shared;
    // The shared run being written: its words up to byte m_chainNext went to
    // the output from m_chainFrom to m_chainEnd.
    const Shared* m_chain = nullptr;
    uint32_t m_chainNext = 0;
    uint32_t m_chainFrom = 0;
    uint32_t m_chainEnd = 0;
};
