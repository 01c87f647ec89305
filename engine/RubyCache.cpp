#include "engine/RubyCache.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint64_t Multiplier = 0x9E3779B97F4A7C15ull;

uint64_t mix(uint64_t hash, uint64_t value)
{
    hash = (hash ^ value) * Multiplier;
    return hash ^ (hash >> 29);
}

// Eight bytes a step; the last step takes what is left, zero-padded.
uint64_t hashBytes(uint64_t hash, std::string_view bytes)
{
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = mix(hash, word);
    }
    uint64_t tail = 0;
    if (i < bytes.size())
        std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    return mix(hash, tail);
}

bool sameBytes(const char* a, std::string_view b)
{
    return b.empty() || std::memcmp(a, b.data(), b.size()) == 0;
}

} // namespace

uint64_t RubyCache::hashOf(std::string_view surface, std::string_view reading)
{
    // The lengths keep the parts apart: ("本ホ", "ン") is not ("本", "ホン").
    const uint64_t lengths = static_cast<uint64_t>(surface.size()) << 32 | reading.size();
    return hashBytes(hashBytes(mix(0, lengths), surface), reading);
}

bool RubyCache::holds(const Slot& slot, uint64_t hash, std::string_view surface, std::string_view reading) const
{
    if (slot.hash != hash || slot.surfaceLength != surface.size() || slot.readingLength != reading.size())
        return false;
    const char* stored = m_arena.data() + slot.at;
    return sameBytes(stored, surface) && sameBytes(stored + surface.size(), reading);
}

size_t RubyCache::slotOf(uint64_t hash, std::string_view surface, std::string_view reading) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.at == Unused || holds(slot, hash, surface, reading))
            return i;
    }
}

std::optional<std::string_view> RubyCache::find(std::string_view surface, std::string_view reading) const
{
    const Slot& slot = m_slots[slotOf(hashOf(surface, reading), surface, reading)];
    if (slot.at == Unused)
        return std::nullopt;
    return std::string_view(m_arena.data() + slot.at + slot.surfaceLength + slot.readingLength, slot.notationLength);
}

void RubyCache::store(std::string_view surface, std::string_view reading, std::string_view notation)
{
    const size_t bytes = surface.size() + reading.size() + notation.size();
    if (bytes > ArenaBytes)
        return;
    if (m_count == Capacity || m_arena.size() + bytes > ArenaBytes)
        clear();
    if (2 * (m_count + 1) > m_slots.size())
        grow();
    const uint64_t hash = hashOf(surface, reading);
    Slot& slot = m_slots[slotOf(hash, surface, reading)];
    if (slot.at != Unused)
        return;
    slot = Slot{hash, static_cast<uint32_t>(m_arena.size()), static_cast<uint32_t>(surface.size()),
                static_cast<uint32_t>(reading.size()), static_cast<uint32_t>(notation.size())};
    m_arena.append(surface).append(reading).append(notation);
    ++m_count;
}

void RubyCache::grow()
{
    std::vector<Slot> old(2 * m_slots.size(), Slot{0, Unused, 0, 0, 0});
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.at == Unused)
            continue;
        size_t i = slot.hash & mask;
        while (m_slots[i].at != Unused)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

void RubyCache::clear()
{
    std::fill(m_slots.begin(), m_slots.end(), Slot{0, Unused, 0, 0, 0});
    m_count = 0;
    m_arena.clear();
}
