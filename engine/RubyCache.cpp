#include "engine/RubyCache.h"

#include <utility>

namespace {

// FNV-1a, which can go on over the parts of a key one after the other.
constexpr size_t FnvBasis = 14695981039346656037ull;

size_t hashBytes(size_t hash, std::string_view bytes)
{
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

} // namespace

size_t RubyCache::Hash::operator()(std::string_view key) const
{
    return hashBytes(FnvBasis, key);
}

size_t RubyCache::Hash::operator()(const Word& word) const
{
    return hashBytes(hashBytes(hashBytes(FnvBasis, word.surface), std::string_view("\0", 1)), word.reading);
}

bool RubyCache::Equal::operator()(const Word& word, std::string_view key) const
{
    return key.size() == word.surface.size() + 1 + word.reading.size() && key.starts_with(word.surface)
        && key[word.surface.size()] == '\0' && key.ends_with(word.reading);
}

const std::string* RubyCache::find(std::string_view surface, std::string_view reading) const
{
    const auto found = m_notations.find(Word{surface, reading});
    return found == m_notations.end() ? nullptr : &found->second;
}

void RubyCache::store(std::string_view surface, std::string_view reading, std::string_view notation)
{
    if (m_notations.size() >= Capacity)
        m_notations.clear();
    std::string key;
    key.reserve(surface.size() + 1 + reading.size());
    key.append(surface).append(1, '\0').append(reading);
    m_notations.emplace(std::move(key), notation);
}
