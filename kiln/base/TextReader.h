#pragma once

#include "kiln/base/List.h"
#include "kiln/base/PushbackIFilter.h"
#include "kiln/base/TString.h"

#include <vector>

namespace KILN {

// A lexer-friendly reader of units of type T from a source flow it does not
// own: unit reads with unlimited pushback, a count of the line feeds handed
// out, a read-ahead of 16384 units (one block read of the source per 16384
// units) and scanning operations. The strings answered by the scanning
// operations are new heap strings that the caller deletes. End of input
// raises code 1 where an operation needs a further unit; the reads of
// everything, of a line, of a run and of a span end gracefully there.
template <class T>
class TextReader : public PushbackIFilter<T> {
public:
    static constexpr uint32_t ReadAheadUnits = 16384;

    explicit TextReader(IFlow* source = nullptr);
    ~TextReader() override;

    // Also restarts the line count.
    void attach(IFlow* source) override;
    // Line count 0, pushback emptied, source reset.
    bool reset() override;

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;

    // The next unit: pushed back, else read ahead; a line feed counts a line.
    virtual T read();
    // Reads up to n units one by one; got counts those that arrived, also
    // when an exception ends the read.
    virtual void read(uint32_t n, T* dest, uint32_t& got);
    // Pushes back a unit without touching the line count.
    virtual void unreadRaw(T unit);
    virtual uint32_t line() const;
    // Pushes back a unit; a line feed is uncounted.
    virtual void unread(T unit);

    // Every unit up to the end of input.
    virtual TString<T>* readAll();
    // The units up to and including the next line feed; at the end of input
    // the partial line, or null when no unit was left.
    virtual TString<T>* readLine();
    // The units before the delimiter, which is consumed and not stored.
    virtual TString<T>* readUpToUnit(T delimiter);
    // The units before the first terminator to complete; the terminator is
    // consumed and not stored. An empty array or terminator raises code 10.
    // The search finds every occurrence, overlapping partial matches included.
    virtual TString<T>* readUpToAny(const T* const* zeroTerminatedTerminators);
    virtual TString<T>* readUpToAny(const List<TString<T>>& terminators);
    virtual TString<T>* readUpTo(const T* terminator, uint32_t length);
    virtual TString<T>* readUpTo(const T* zeroTerminatedTerminator);
    virtual TString<T>* readUpTo(const TStringPtr<T>& terminator);

    // True, with the keyword consumed, when the next units spell it; else the
    // units read are pushed back and the answer is false. An empty keyword
    // answers false without reading.
    virtual bool matchKeyword(const T* zeroTerminatedKeyword);
    virtual bool matchKeyword(const TStringPtr<T>& keyword);
    // The 1-based number of the first keyword to match completely (consumed),
    // the keywords being matched side by side; 0, with every unit read pushed
    // back, when none matches.
    virtual uint32_t matchAnyKeyword(const T* const* zeroTerminatedKeywords);
    virtual uint32_t matchAnyKeyword(const List<TString<T>>& keywords);
    // Consumes the next unit and answers true when it equals unit; else
    // pushes it back and answers false.
    virtual bool matchUnit(T unit);

    // The consecutive occurrences of unit.
    virtual TString<T>* readRun(T unit);
    // The consecutive units that belong to the set.
    virtual TString<T>* readSpan(const TStringPtr<T>& set);
    virtual TString<T>* readSpan(const T* zeroTerminatedSet);
    virtual TString<T>* readSpan(const T* set, uint32_t count);

private:
    struct Pattern {
        const T* units;
        uint32_t length;
    };

    static std::vector<Pattern> patternsOf(const T* const* zeroTerminatedArrays);
    static std::vector<Pattern> patternsOf(const List<TString<T>>& strings);
    // Reads ahead a block and answers its first unit.
    T fill();
    // Reads while accept(unit) holds; the first other unit is pushed back.
    template <class Accept>
    TString<T>* readWhile(Accept accept);
    TString<T>* readUpToPatterns(const Pattern* patterns, uint32_t count);
    uint32_t matchPatterns(const Pattern* patterns, uint32_t count);

    T* m_readAhead;
    uint32_t m_line = 0;
};

extern template class TextReader<char>;
extern template class TextReader<unsigned short>;
extern template class TextReader<unsigned int>;

} // namespace KILN
