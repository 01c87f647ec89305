#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The ruby notations of words already written, by surface and reading. Words
// repeat throughout a text, and working out a notation anew costs several
// conversions between UTF-8 and code points. The cache forgets everything
// when it holds Capacity words or ArenaBytes bytes, so that its size stays
// bounded. Each engine context has its own: a cache is used by one thread.
//
// An open-addressing table of small slots over one byte arena: a lookup is
// a hash of the word, usually one slot and one comparison in the arena, where
// a node-based map would also divide by a prime and chase a node.
class RubyCache {
public:
    static constexpr size_t Capacity = 1 << 16;
    static constexpr size_t ArenaBytes = 16 << 20;

    // The notation stored for the word; valid until the next store.
    std::optional<std::string_view> find(std::string_view surface, std::string_view reading) const;
    // Stores a word not stored yet; a word larger than the arena is not kept.
    void store(std::string_view surface, std::string_view reading, std::string_view notation);

private:
    // A word: its surface, reading and notation lie one after the other in
    // the arena from `at`; an unused slot has at == Unused.
    struct Slot {
        uint64_t hash;
        uint32_t at;
        uint32_t surfaceLength;
        uint32_t readingLength;
        uint32_t notationLength;
    };
    static constexpr uint32_t Unused = UINT32_MAX;
    static constexpr size_t FirstSlots = 1024;

    static uint64_t hashOf(std::string_view surface, std::string_view reading);
    // The index of the word's slot, or of the unused slot where it would go.
    size_t slotOf(uint64_t hash, std::string_view surface, std::string_view reading) const;
    bool holds(const Slot& slot, uint64_t hash, std::string_view surface, std::string_view reading) const;
    // Doubles the slots and puts the words back.
    void grow();
    void clear();

    // A power of two, at most half of them used.
    std::vector<Slot> m_slots = std::vector<Slot>(FirstSlots, Slot{0, Unused, 0, 0, 0});
    size_t m_count = 0;
    std::string m_arena;
};
