#pragma once

#include "kiln/base/TSubString.h"

#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <cctype>
#include <new>
#include <type_traits>

namespace KILN {

template <class T>
class TString;

// The fixed conversions between UTF-8 bytes and code points, defined with the
// encodings (kiln/base/WidthConversion.cpp): every code point is kept.
void convertWidth(const TString<unsigned int>& codePoints, TString<char>& utf8);
void convertWidth(const TString<char>& utf8, TString<unsigned int>& codePoints);

// A growable, unterminated array of code units of type T (bytes, UTF-16 code
// units or UTF-32 code points). The text is buffer[begin, end): units before
// begin are free room at the front, which inserts reuse before they
// reallocate, and appends too while it is at least half the text's length.
// A constructor or an assignment allocates exactly what it
// needs; an append or insert that outgrows the buffer grows it by at least
// half its capacity, so that a string built piece by piece costs linear time.
// Capacities are counted in bytes.
template <class T>
class TString : public TSubString<T> {
public:
    static constexpr uint32_t DefaultUnits = 10;
    // The most units a buffer whose capacity is counted in 32-bit bytes holds.
    static constexpr uint32_t MaxUnits = std::numeric_limits<uint32_t>::max() / sizeof(T);

    TString();
    TString(const T* zeroTerminated);
    TString(const T* units, uint32_t length);
    TString(const TStringPtr<T>& other);
    TString(const TString& other);
    TString(TString&& other) noexcept;
    // Converts code points to UTF-8 bytes, or UTF-8 bytes (an optional leading
    // byte-order mark is kept as U+FEFF) to code points.
    template <class U>
        requires(std::is_same_v<T, char> && std::is_same_v<U, unsigned int>) ||
                (std::is_same_v<T, unsigned int> && std::is_same_v<U, char>)
    TString(const TString<U>& other) : TString() { convertWidth(other, *this); }
    ~TString() override;

    TString& operator=(const TString& other);
    TString& operator=(const TStringPtr<T>& other);
    TString& operator=(const T* zeroTerminated);
    TString& operator=(TString&& other) noexcept;
    void assign(const T* units, uint32_t length);

    // Final: a call on a string of this class needs no virtual dispatch.
    const T* data() const final { return m_buffer + this->m_begin; }
    T* data() { return m_buffer + this->m_begin; }
    uint32_t offset() const override { return 0; }
    const T* unitAt(uint32_t i) const override { return m_buffer + this->m_begin + i; }
    uint32_t length() const final { return this->m_end - this->m_begin; }
    const T* dataEnd() const final { return m_buffer + this->m_end; }

    // Size of the buffer in bytes.
    uint32_t capacity() const { return m_capacity; }
    // Index of the first unit in the buffer: the free room at the front.
    uint32_t frontRoom() const { return this->m_begin; }
    // Empties the string; the buffer stays.
    void clear() { this->m_begin = this->m_end = 0; }

    void append(T unit);
    void append(const T* zeroTerminated);
    void append(const T* units, uint32_t count);
    void append(const TStringPtr<T>& other) { append(other.data(), other.length()); }
    TString& operator+=(T unit) { append(unit); return *this; }
    TString& operator+=(const T* zeroTerminated) { append(zeroTerminated); return *this; }
    TString& operator+=(const TStringPtr<T>& other) { append(other); return *this; }

    // Inserts at index (at most the length); false and no change otherwise.
    bool insert(uint32_t index, const T* units, uint32_t count);
    bool insert(uint32_t index, const TStringPtr<T>& other) { return insert(index, other.data(), other.length()); }
    // Erases count units at pos; false when the range does not lie inside the text.
    bool erase(uint32_t pos, uint32_t count);

    // 1-based position of the first occurrence of pattern at or after the
    // 0-based index from (Knuth-Morris-Pratt); 0 when there is none.
    uint32_t find(const TStringPtr<T>& pattern, uint32_t from = 0) const;
    uint32_t find(const T* zeroTerminated) const;
    // Replaces every occurrence of pattern; answers the number of replacements.
    // The search resumes after each inserted replacement, so a replacement that
    // contains the pattern is not rescanned.
    uint32_t replaceAll(const TStringPtr<T>& pattern, const TStringPtr<T>& replacement);

    // -1, 0 or 1; bytes of TString<char> compare as signed values.
    int compare(const TStringPtr<T>& other) const { return compareUnits(data(), length(), other.data(), other.length()); }
    int compare(const T* zeroTerminated) const;
    // Byte-wise comparison after folding with isupper/tolower.
    int compareNoCase(const TStringPtr<T>& other) const
        requires std::is_same_v<T, char>;
    // Value of a text of decimal digits; 0 when any unit is not a digit.
    int32_t decimalValue() const
        requires std::is_same_v<T, char>;

    // Writes a zero unit after the text (not part of it) and answers the text.
    const T* zeroTerminated();

    // Replace the content with formatted text: printf-like directives whose
    // arguments are read from the call (see Formatter, which raises
    // FmtException on a missing or mistyped argument). Each answers the
    // number of units written. The format may be a view of this string.
    int32_t formatN(const T* format, uint32_t length, ...);
    int32_t format(const T* format, ...);
    int32_t vformatN(const T* format, uint32_t length, va_list args);
    int32_t vformat(const T* format, va_list args);
    int32_t vformat(const TStringPtr<T>& format, va_list args);

    bool operator==(const TStringPtr<T>& other) const { return compare(other) == 0; }
    bool operator==(const T* zeroTerminated) const { return compare(zeroTerminated) == 0; }
    bool operator<(const TStringPtr<T>& other) const { return compare(other) < 0; }

    static uint32_t zeroTerminatedLength(const T* units);
    static int compareUnits(const T* a, uint32_t aLength, const T* b, uint32_t bLength);

private:
    uint32_t capacityUnits() const { return m_capacity / sizeof(T); }
    void reallocate(uint32_t units);
    // Reallocates for at least `needed` units, with room for growth.
    void grow(uint32_t needed);
    void allocateExact(const T* units, uint32_t length);
    T* detachFromBuffer(const T*& units, uint32_t count) const;

    T* m_buffer = nullptr;
    uint32_t m_capacity = 0;
    uint32_t m_reserved = 0;
};

template <class T>
uint32_t TString<T>::zeroTerminatedLength(const T* units)
{
    uint32_t n = 0;
    while (units[n] != 0)
        ++n;
    return n;
}

template <class T>
int TString<T>::compareUnits(const T* a, uint32_t aLength, const T* b, uint32_t bLength)
{
    using Key = std::conditional_t<std::is_same_v<T, char>, signed char, T>;
    const uint32_t common = aLength < bLength ? aLength : bLength;
    for (uint32_t i = 0; i < common; ++i) {
        const Key x = static_cast<Key>(a[i]);
        const Key y = static_cast<Key>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (aLength == bLength)
        return 0;
    return aLength < bLength ? -1 : 1;
}

template <class T>
void TString<T>::reallocate(uint32_t units)
{
    if (units > MaxUnits)
        throw std::bad_alloc();
    const uint32_t bytes = units ? units * sizeof(T) : 1;
    void* grown = std::realloc(m_buffer, bytes);
    if (!grown)
        throw std::bad_alloc();
    m_buffer = static_cast<T*>(grown);
    m_capacity = bytes;
}

template <class T>
void TString<T>::grow(uint32_t needed)
{
    const uint32_t units = capacityUnits();
    const uint32_t spare = units / 2 < MaxUnits - units ? units + units / 2 : MaxUnits;
    reallocate(needed > spare ? needed : spare);
}

template <class T>
void TString<T>::allocateExact(const T* units, uint32_t length)
{
    reallocate(length);
    assign(units, length);
}

// A source inside our own buffer would not survive the moves and the
// reallocation of an append or insert: such a source is copied first, and
// the copy (to be freed by the caller) is answered; otherwise null.
template <class T>
T* TString<T>::detachFromBuffer(const T*& units, uint32_t count) const
{
    const auto at = reinterpret_cast<uintptr_t>(units);
    const auto first = reinterpret_cast<uintptr_t>(m_buffer);
    if (at < first || at >= first + m_capacity)
        return nullptr;
    T* copy = static_cast<T*>(std::malloc(count * sizeof(T)));
    if (!copy)
        throw std::bad_alloc();
    std::memcpy(copy, units, count * sizeof(T));
    units = copy;
    return copy;
}

template <class T>
TString<T>::TString()
{
    this->m_owner = this;
    reallocate(DefaultUnits);
}

template <class T>
TString<T>::TString(const T* zeroTerminated)
{
    this->m_owner = this;
    allocateExact(zeroTerminated, zeroTerminatedLength(zeroTerminated));
}

template <class T>
TString<T>::TString(const T* units, uint32_t length)
{
    this->m_owner = this;
    if (units)
        allocateExact(units, length);
    else
        reallocate(DefaultUnits);
}

template <class T>
TString<T>::TString(const TStringPtr<T>& other)
{
    this->m_owner = this;
    allocateExact(other.data(), other.length());
}

template <class T>
TString<T>::TString(const TString& other) : TSubString<T>()
{
    this->m_owner = this;
    allocateExact(other.data(), other.length());
}

template <class T>
TString<T>::TString(TString&& other) noexcept
    : m_buffer(other.m_buffer), m_capacity(other.m_capacity), m_reserved(other.m_reserved)
{
    this->m_owner = this;
    this->m_begin = other.m_begin;
    this->m_end = other.m_end;
    other.m_buffer = nullptr;
    other.m_capacity = 0;
    other.m_begin = other.m_end = 0;
}

template <class T>
TString<T>::~TString()
{
    std::free(m_buffer);
}

template <class T>
void TString<T>::assign(const T* units, uint32_t length)
{
    if (m_capacity < length * sizeof(T)) {
        // A source inside our own buffer is never longer than the buffer, so
        // the source is foreign here and stays valid across the reallocation.
        reallocate(length);
    }
    if (length)
        std::memmove(m_buffer, units, length * sizeof(T));
    this->m_begin = 0;
    this->m_end = length;
}

template <class T>
TString<T>& TString<T>::operator=(const TString& other)
{
    if (this != &other)
        assign(other.data(), other.length());
    return *this;
}

template <class T>
TString<T>& TString<T>::operator=(const TStringPtr<T>& other)
{
    assign(other.data(), other.length());
    return *this;
}

template <class T>
TString<T>& TString<T>::operator=(const T* zeroTerminated)
{
    assign(zeroTerminated, zeroTerminatedLength(zeroTerminated));
    return *this;
}

template <class T>
TString<T>& TString<T>::operator=(TString&& other) noexcept
{
    if (this != &other) {
        std::free(m_buffer);
        m_buffer = other.m_buffer;
        m_capacity = other.m_capacity;
        this->m_begin = other.m_begin;
        this->m_end = other.m_end;
        other.m_buffer = nullptr;
        other.m_capacity = 0;
        other.m_begin = other.m_end = 0;
    }
    return *this;
}

template <class T>
void TString<T>::append(T unit)
{
    append(&unit, 1);
}

template <class T>
void TString<T>::append(const T* zeroTerminated)
{
    append(zeroTerminated, zeroTerminatedLength(zeroTerminated));
}

template <class T>
void TString<T>::append(const T* units, uint32_t count)
{
    if (count == 0)
        return;
    if (count > MaxUnits - this->m_end)
        throw std::bad_alloc();  // the end would pass what a buffer can hold
    T* copy = detachFromBuffer(units, count);
    uint32_t& begin = this->m_begin;
    uint32_t& end = this->m_end;
    if (end + count <= capacityUnits()) {
        // Room at the back.
    } else if ((count == 1 ? begin > 0 : count < begin) && begin >= (end - begin) / 2) {
        // The front room is reused by moving the text to the buffer's start at
        // once: moving it only by count would move the whole text again for
        // every following append. A front room small beside the text is left
        // to growth, so that a text consumed at the front while appended to
        // at the back is not moved on every append either.
        std::memmove(m_buffer, m_buffer + begin, (end - begin) * sizeof(T));
        end -= begin;
        begin = 0;
    } else {
        grow(end + count);
    }
    std::memcpy(m_buffer + end, units, count * sizeof(T));
    end += count;
    std::free(copy);
}

template <class T>
bool TString<T>::insert(uint32_t index, const T* units, uint32_t count)
{
    if (index > length())
        return false;
    if (count == 0)
        return true;
    if (count > MaxUnits - this->m_end)
        throw std::bad_alloc();
    T* copy = detachFromBuffer(units, count);
    uint32_t& begin = this->m_begin;
    uint32_t& end = this->m_end;
    const uint32_t at = begin + index;
    if (count <= begin) {
        std::memmove(m_buffer + begin - count, m_buffer + begin, index * sizeof(T));
        begin -= count;
        std::memcpy(m_buffer + at - count, units, count * sizeof(T));
    } else {
        if (end + count > capacityUnits())
            grow(end + count);
        std::memmove(m_buffer + at + count, m_buffer + at, (end - at) * sizeof(T));
        end += count;
        std::memcpy(m_buffer + at, units, count * sizeof(T));
    }
    std::free(copy);
    return true;
}

template <class T>
bool TString<T>::erase(uint32_t pos, uint32_t count)
{
    const uint32_t len = length();
    if (pos >= len)
        return false;
    if (count == 0)
        return true;
    if (count > len - pos)
        return false;
    uint32_t& begin = this->m_begin;
    uint32_t& end = this->m_end;
    if (pos == 0) {
        begin += count;
    } else if (pos + count == len) {
        end -= count;
    } else {
        const uint32_t after = len - pos - count;
        if (after < pos) {
            std::memmove(m_buffer + begin + pos, m_buffer + begin + pos + count, after * sizeof(T));
            end -= count;
        } else {
            std::memmove(m_buffer + begin + count, m_buffer + begin, pos * sizeof(T));
            begin += count;
        }
    }
    return true;
}

template <class T>
uint32_t TString<T>::find(const TStringPtr<T>& pattern, uint32_t from) const
{
    const uint32_t m = pattern.length();
    const uint32_t len = length();
    if (m == 0 || from > len || m > len - from)
        return 0;
    const T* p = pattern.data();
    // failure[i]: length of the longest proper border of p[0, i).
    uint32_t* failure = static_cast<uint32_t*>(std::malloc((m + 1) * sizeof(uint32_t)));
    if (!failure)
        throw std::bad_alloc();
    failure[0] = 0;
    failure[1] = 0;
    for (uint32_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && p[i] != p[k])
            k = failure[k];
        if (p[i] == p[k])
            ++k;
        failure[i + 1] = k;
    }
    const T* text = data();
    uint32_t found = 0;
    for (uint32_t i = from, k = 0; i < len; ++i) {
        while (k > 0 && text[i] != p[k])
            k = failure[k];
        if (text[i] == p[k])
            ++k;
        if (k == m) {
            found = i + 2 - m;
            break;
        }
    }
    std::free(failure);
    return found;
}

template <class T>
uint32_t TString<T>::find(const T* zeroTerminated) const
{
    const TString<T> pattern(zeroTerminated);
    return find(pattern);
}

template <class T>
uint32_t TString<T>::replaceAll(const TStringPtr<T>& pattern, const TStringPtr<T>& replacement)
{
    if (compareUnits(pattern.data(), pattern.length(), replacement.data(), replacement.length()) == 0)
        return 0;
    // Private copies: either argument may be a view of this string.
    const TString<T> what(pattern);
    const TString<T> with(replacement);
    uint32_t count = 0;
    uint32_t from = 0;
    while (uint32_t position = find(what, from)) {
        erase(position - 1, what.length());
        insert(position - 1, with);
        from = position - 1 + with.length();
        ++count;
    }
    return count;
}

template <class T>
int TString<T>::compare(const T* zeroTerminated) const
{
    return compareUnits(data(), length(), zeroTerminated, zeroTerminatedLength(zeroTerminated));
}

template <class T>
int TString<T>::compareNoCase(const TStringPtr<T>& other) const
    requires std::is_same_v<T, char>
{
    auto fold = [](char c) {
        const int u = static_cast<unsigned char>(c);
        return static_cast<signed char>(std::isupper(u) ? std::tolower(u) : u);
    };
    const T* a = data();
    const T* b = other.data();
    const uint32_t aLength = length();
    const uint32_t bLength = other.length();
    const uint32_t common = aLength < bLength ? aLength : bLength;
    for (uint32_t i = 0; i < common; ++i) {
        const signed char x = fold(a[i]);
        const signed char y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (aLength == bLength)
        return 0;
    return aLength < bLength ? -1 : 1;
}

template <class T>
int32_t TString<T>::decimalValue() const
    requires std::is_same_v<T, char>
{
    uint32_t value = 0;
    for (uint32_t i = 0; i < length(); ++i) {
        const char c = data()[i];
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return static_cast<int32_t>(value);
}

template <class T>
const T* TString<T>::zeroTerminated()
{
    uint32_t& begin = this->m_begin;
    uint32_t& end = this->m_end;
    if (end >= capacityUnits()) {
        if (begin > 0) {
            std::memmove(m_buffer + begin - 1, m_buffer + begin, (end - begin) * sizeof(T));
            --begin;
            --end;
        } else {
            reallocate(end + 1);
        }
    }
    m_buffer[end] = 0;
    return data();
}

extern template class TString<char>;
extern template class TString<unsigned short>;
extern template class TString<unsigned int>;

} // namespace KILN
