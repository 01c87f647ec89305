#include "kiln/base/TextReader.h"

#include "kiln/base/Exception.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace KILN {

namespace {

constexpr const char* Module = "kiln/base/TextReader";

bool isEndOfInput(const IOException& e)
{
    return e.code() == IOException::EndOfInput;
}

// Collects the units of a new string. Handing them to the string in blocks
// spares its exact-fit growth a reallocation per unit.
template <class T>
class Collector {
public:
    Collector() : m_text(std::make_unique<TString<T>>()) {}

    void add(T unit)
    {
        if (m_count == BlockUnits)
            flush();
        m_units[m_count++] = unit;
    }
    uint32_t length() const { return m_text->length() + m_count; }
    // Drops the last n units (at most the length).
    void dropLast(uint32_t n)
    {
        flush();
        m_text->erase(m_text->length() - n, n);
    }
    TString<T>* release()
    {
        flush();
        return m_text.release();
    }

private:
    static constexpr uint32_t BlockUnits = 256;

    void flush()
    {
        m_text->append(m_units, m_count);
        m_count = 0;
    }

    std::unique_ptr<TString<T>> m_text;
    T m_units[BlockUnits];
    uint32_t m_count = 0;
};

// The length of a zero-terminated array; 0 for null.
template <class T>
uint32_t lengthOf(const T* zeroTerminated)
{
    return zeroTerminated ? TString<T>::zeroTerminatedLength(zeroTerminated) : 0;
}

} // namespace

template <class T>
TextReader<T>::TextReader(IFlow* source) : m_readAhead(static_cast<T*>(std::malloc(ReadAheadUnits * sizeof(T))))
{
    if (!m_readAhead)
        throw std::bad_alloc();
    if (source)
        attach(source);
}

template <class T>
TextReader<T>::~TextReader()
{
    std::free(m_readAhead);
}

template <class T>
void TextReader<T>::attach(IFlow* source)
{
    m_line = 0;
    PushbackIFilter<T>::attach(source);
}

template <class T>
bool TextReader<T>::reset()
{
    m_line = 0;
    return PushbackIFilter<T>::reset();
}

// Reads of other widths than T fail in the pushback filter (code 5).
template <class T>
uint8_t TextReader<T>::read8()
{
    if constexpr (sizeof(T) == 1)
        return static_cast<uint8_t>(read());
    else
        return PushbackIFilter<T>::read8();
}

template <class T>
uint16_t TextReader<T>::read16()
{
    if constexpr (sizeof(T) == 2)
        return read();
    else
        return PushbackIFilter<T>::read16();
}

template <class T>
uint32_t TextReader<T>::read32()
{
    if constexpr (sizeof(T) == 4)
        return read();
    else
        return PushbackIFilter<T>::read32();
}

template <class T>
T TextReader<T>::read()
{
    this->m_fresh = false;
    T unit;
    if (!this->popPushback(unit))
        unit = fill();
    if (unit == 10)
        ++m_line;
    return unit;
}

template <class T>
T TextReader<T>::fill()
{
    IFlow* source = this->m_source;
    if (!source)
        throw IOException(Module, __LINE__, IOException::NoSource);
    uint32_t got = 0;
    // The units of a block go onto the stack last first, so that it hands
    // them out in the order read; units that arrived before a failure are kept.
    auto keep = [&] {
        for (uint32_t i = got; i > 0; --i)
            this->pushBack(m_readAhead[i - 1]);
    };
    try {
        source->readSome(ReadAheadUnits, m_readAhead, got);
    } catch (const IOException&) {
        keep();
        throw;
    }
    keep();
    T unit;
    if (this->popPushback(unit))
        return unit;
    return source->template readUnit<T>();
}

template <class T>
void TextReader<T>::read(uint32_t n, T* dest, uint32_t& got)
{
    got = 0;
    while (got < n) {
        dest[got] = read();
        ++got;
    }
}

template <class T>
void TextReader<T>::unreadRaw(T unit)
{
    this->pushBack(unit);
}

template <class T>
uint32_t TextReader<T>::line() const
{
    return m_line;
}

template <class T>
void TextReader<T>::unread(T unit)
{
    if (unit == 10 && m_line > 0)
        --m_line;
    unreadRaw(unit);
}

template <class T>
TString<T>* TextReader<T>::readAll()
{
    return readWhile([](T) { return true; });
}

template <class T>
TString<T>* TextReader<T>::readLine()
{
    Collector<T> text;
    try {
        T unit;
        do {
            unit = read();
            text.add(unit);
        } while (unit != 10);
    } catch (const IOException& e) {
        if (!isEndOfInput(e))
            throw;
        if (text.length() == 0)
            return nullptr;
    }
    return text.release();
}

template <class T>
TString<T>* TextReader<T>::readUpToUnit(T delimiter)
{
    Collector<T> text;
    for (T unit = read(); unit != delimiter; unit = read())
        text.add(unit);
    return text.release();
}

// Each terminator is followed with the failure links of Knuth-Morris-Pratt,
// so that a terminator starting inside a partial match of itself (aab in
// aaab) is found too. Every unit read goes into the text; when a terminator
// completes, its units are cut off the end again.
template <class T>
TString<T>* TextReader<T>::readUpToPatterns(const Pattern* patterns, uint32_t count)
{
    if (count == 0)
        throw IOException(Module, __LINE__, IOException::InvalidArgument);
    std::vector<uint32_t> offsets(count);
    uint32_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (patterns[i].length == 0)
            throw IOException(Module, __LINE__, IOException::InvalidArgument);
        offsets[i] = total;
        total += patterns[i].length + 1;
    }
    // failure[offsets[i] + k]: the longest proper border of the first k units of terminator i.
    std::vector<uint32_t> failure(total, 0);
    for (uint32_t i = 0; i < count; ++i) {
        const T* p = patterns[i].units;
        uint32_t* f = failure.data() + offsets[i];
        for (uint32_t j = 1, k = 0; j < patterns[i].length; ++j) {
            while (k > 0 && p[j] != p[k])
                k = f[k];
            if (p[j] == p[k])
                ++k;
            f[j + 1] = k;
        }
    }
    std::vector<uint32_t> matched(count, 0);
    Collector<T> text;
    for (;;) {
        const T unit = read();
        text.add(unit);
        for (uint32_t i = 0; i < count; ++i) {
            const Pattern& pattern = patterns[i];
            uint32_t k = matched[i];
            while (k > 0 && unit != pattern.units[k])
                k = failure[offsets[i] + k];
            if (unit == pattern.units[k])
                ++k;
            if (k == pattern.length) {
                text.dropLast(k);
                return text.release();
            }
            matched[i] = k;
        }
    }
}

template <class T>
std::vector<typename TextReader<T>::Pattern> TextReader<T>::patternsOf(const T* const* zeroTerminatedArrays)
{
    std::vector<Pattern> patterns;
    for (const T* const* p = zeroTerminatedArrays; p && *p; ++p)
        patterns.push_back({*p, lengthOf(*p)});
    return patterns;
}

template <class T>
std::vector<typename TextReader<T>::Pattern> TextReader<T>::patternsOf(const List<TString<T>>& strings)
{
    std::vector<Pattern> patterns;
    std::unique_ptr<Iterator<TString<T>>> it(strings.iterator());
    while (it->hasNext()) {
        const TString<T>* string = it->next();
        patterns.push_back({string->data(), string->length()});
    }
    return patterns;
}

template <class T>
TString<T>* TextReader<T>::readUpToAny(const T* const* zeroTerminatedTerminators)
{
    const std::vector<Pattern> patterns = patternsOf(zeroTerminatedTerminators);
    return readUpToPatterns(patterns.data(), static_cast<uint32_t>(patterns.size()));
}

template <class T>
TString<T>* TextReader<T>::readUpToAny(const List<TString<T>>& terminators)
{
    const std::vector<Pattern> patterns = patternsOf(terminators);
    return readUpToPatterns(patterns.data(), static_cast<uint32_t>(patterns.size()));
}

template <class T>
TString<T>* TextReader<T>::readUpTo(const T* terminator, uint32_t length)
{
    const Pattern pattern{terminator, terminator ? length : 0};
    return readUpToPatterns(&pattern, 1);
}

template <class T>
TString<T>* TextReader<T>::readUpTo(const T* zeroTerminatedTerminator)
{
    return readUpTo(zeroTerminatedTerminator, lengthOf(zeroTerminatedTerminator));
}

template <class T>
TString<T>* TextReader<T>::readUpTo(const TStringPtr<T>& terminator)
{
    return readUpTo(terminator.data(), terminator.length());
}

template <class T>
bool TextReader<T>::matchKeyword(const T* zeroTerminatedKeyword)
{
    const Pattern pattern{zeroTerminatedKeyword, lengthOf(zeroTerminatedKeyword)};
    return matchPatterns(&pattern, 1) == 1;
}

template <class T>
bool TextReader<T>::matchKeyword(const TStringPtr<T>& keyword)
{
    const Pattern pattern{keyword.data(), keyword.length()};
    return matchPatterns(&pattern, 1) == 1;
}

// The keywords are compared unit by unit side by side; each drops out at its
// first mismatch. Units read are pushed back unless a keyword completes, and
// also when the end of input (or another failure) interrupts the match.
template <class T>
uint32_t TextReader<T>::matchPatterns(const Pattern* patterns, uint32_t count)
{
    std::vector<bool> alive(count);
    uint32_t living = 0;
    for (uint32_t i = 0; i < count; ++i) {
        alive[i] = patterns[i].length > 0;
        living += alive[i];
    }
    std::vector<T> consumed;
    auto giveBack = [&] {
        while (!consumed.empty()) {
            unread(consumed.back());
            consumed.pop_back();
        }
    };
    for (uint32_t depth = 0; living > 0; ++depth) {
        T unit;
        try {
            unit = read();
        } catch (const IOException&) {
            giveBack();
            throw;
        }
        consumed.push_back(unit);
        for (uint32_t i = 0; i < count; ++i) {
            if (alive[i] && patterns[i].units[depth] != unit) {
                alive[i] = false;
                --living;
            }
        }
        for (uint32_t i = 0; i < count; ++i) {
            if (alive[i] && patterns[i].length == depth + 1)
                return i + 1;
        }
    }
    giveBack();
    return 0;
}

template <class T>
uint32_t TextReader<T>::matchAnyKeyword(const T* const* zeroTerminatedKeywords)
{
    const std::vector<Pattern> patterns = patternsOf(zeroTerminatedKeywords);
    return matchPatterns(patterns.data(), static_cast<uint32_t>(patterns.size()));
}

template <class T>
uint32_t TextReader<T>::matchAnyKeyword(const List<TString<T>>& keywords)
{
    const std::vector<Pattern> patterns = patternsOf(keywords);
    return matchPatterns(patterns.data(), static_cast<uint32_t>(patterns.size()));
}

template <class T>
bool TextReader<T>::matchUnit(T unit)
{
    const T next = read();
    if (next == unit)
        return true;
    unread(next);
    return false;
}

template <class T>
template <class Accept>
TString<T>* TextReader<T>::readWhile(Accept accept)
{
    Collector<T> text;
    try {
        for (;;) {
            const T unit = read();
            if (!accept(unit)) {
                unread(unit);
                break;
            }
            text.add(unit);
        }
    } catch (const IOException& e) {
        if (!isEndOfInput(e))
            throw;
    }
    return text.release();
}

template <class T>
TString<T>* TextReader<T>::readRun(T unit)
{
    return readWhile([unit](T next) { return next == unit; });
}

template <class T>
TString<T>* TextReader<T>::readSpan(const TStringPtr<T>& set)
{
    return readSpan(set.data(), set.length());
}

template <class T>
TString<T>* TextReader<T>::readSpan(const T* zeroTerminatedSet)
{
    return readSpan(zeroTerminatedSet, lengthOf(zeroTerminatedSet));
}

template <class T>
TString<T>* TextReader<T>::readSpan(const T* set, uint32_t count)
{
    return readWhile([set, count](T next) {
        for (uint32_t i = 0; i < count; ++i) {
            if (set[i] == next)
                return true;
        }
        return false;
    });
}

template class TextReader<char>;
template class TextReader<unsigned short>;
template class TextReader<unsigned int>;

} // namespace KILN
