#pragma once

#include <mecab.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Readings from a second analysis with a UniDic dictionary. Each run of text
// is analysed again; a word of the first analysis takes the readings of the
// UniDic words that cover exactly its characters (UniDic's "kana" column, the
// reading as written in katakana). Where the words do not line up, or a
// UniDic word has no reading (an unknown word), the caller's reading stays.
// An engine context owns one; it holds the state of the last run and must not
// be shared between threads.
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

    // Analyses a run; text must stay unchanged while its words are read.
    void analyse(const char* text, uint32_t length);
    // The reading of the word at surface (length bytes) of the run analysed
    // last, in katakana; fallback when UniDic has none for exactly that span.
    // The view is valid until the next call.
    std::string_view readingOf(const char* surface, uint32_t length, std::string_view fallback);

private:
    // A UniDic word: bytes [begin, end) of the run and its reading, which lies
    // in m_readings from readingAt; an unknown word has known false.
    struct Word {
        uint32_t begin;
        uint32_t end;
        uint32_t readingAt;
        uint32_t readingLength;
        bool known;
    };

    explicit ReadingSource(MeCab::Tagger* tagger) : m_tagger(tagger) {}
    // The first word at or after byte begin.
    size_t firstWordFrom(uint32_t begin);

    std::unique_ptr<MeCab::Tagger> m_tagger;
    const char* m_text = nullptr;
    uint32_t m_length = 0;
    std::vector<Word> m_words;
    std::string m_readings;
    std::string m_joined;
    size_t m_cursor = 0;
};
