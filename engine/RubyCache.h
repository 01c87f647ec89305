#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

// The ruby notations of words already written, by surface and reading. Words
// repeat throughout a text, and working out a notation anew costs several
// conversions between UTF-8 and code points. The cache forgets everything
// when it is full, so that its size stays bounded.
class RubyCache {
public:
    static constexpr size_t Capacity = 1 << 16;

    // The notation stored for the word, or null.
    const std::string* find(std::string_view surface, std::string_view reading) const;
    void store(std::string_view surface, std::string_view reading, std::string_view notation);

private:
    // A stored key is the surface, a zero byte and the reading (surfaces come
    // from zero-terminated text, so the zero byte separates the parts); a
    // word is looked up as the two parts, without building its key.
    struct Word {
        std::string_view surface;
        std::string_view reading;
    };
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const;
        size_t operator()(const Word& word) const;
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return a == b; }
        bool operator()(const Word& word, std::string_view key) const;
        bool operator()(std::string_view key, const Word& word) const { return (*this)(word, key); }
    };

    std::unordered_map<std::string, std::string, Hash, Equal> m_notations;
};
