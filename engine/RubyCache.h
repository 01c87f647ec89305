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
    const std::string* find(std::string_view surface, std::string_view reading);
    void store(std::string_view surface, std::string_view reading, std::string_view notation);

private:
    // Makes m_key the key of the word; reused, so that a hit allocates nothing.
    const std::string& key(std::string_view surface, std::string_view reading);

    std::unordered_map<std::string, std::string> m_notations;
    std::string m_key;
};
