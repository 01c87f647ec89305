#include "engine/RubyCache.h"

const std::string& RubyCache::key(std::string_view surface, std::string_view reading)
{
    // Surfaces come from zero-terminated text, so a zero byte separates the parts.
    m_key.assign(surface).append(1, '\0').append(reading);
    return m_key;
}

const std::string* RubyCache::find(std::string_view surface, std::string_view reading)
{
    const auto found = m_notations.find(key(surface, reading));
    return found == m_notations.end() ? nullptr : &found->second;
}

void RubyCache::store(std::string_view surface, std::string_view reading, std::string_view notation)
{
    if (m_notations.size() >= Capacity)
        m_notations.clear();
    m_notations.emplace(key(surface, reading), notation);
}
