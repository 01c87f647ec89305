#pragma once

#include <array>
#include <cstdint>

namespace KILN {

// A constant map from 16-bit codes to 16-bit codes in two-level bitmap form:
// a row per high byte marks its non-empty 16-code blocks, a block marks its
// codes, and the values follow in code order. Lookups allocate nothing.
class SparseCodeTable {
public:
    static constexpr uint16_t Absent = 0xFFFF;

    struct Row {
        uint16_t blocks;     // bit b: codes row*256 + b*16 ... + 15 has entries
        uint16_t firstBlock; // index of the row's first block
    };
    struct Block {
        uint16_t codes;      // bit c: code block*16 + c has a value
        uint16_t firstValue; // index of the block's first value
    };

    constexpr SparseCodeTable(const Row* rows, const Block* blocks, const uint16_t* values)
        : m_rows(rows), m_blocks(blocks), m_values(values) {}

    // The value mapped to code, or Absent.
    uint16_t lookup(uint32_t code) const
    {
        if (code > 0xFFFF)
            return Absent;
        const Row& row = m_rows[code >> 8];
        const uint32_t blockBit = (code >> 4) & 15;
        if (!(row.blocks >> blockBit & 1))
            return Absent;
        const Block& block = m_blocks[row.firstBlock + countBits(belowBit(row.blocks, blockBit))];
        const uint32_t codeBit = code & 15;
        if (!(block.codes >> codeBit & 1))
            return Absent;
        return m_values[block.firstValue + countBits(belowBit(block.codes, codeBit))];
    }

private:
    static uint32_t belowBit(uint32_t bits, uint32_t bit) { return bits & ((1u << bit) - 1); }

    // Set bits of a 16-bit value by a byte table: without a population-count
    // instruction in the baseline x86-64 set, std::popcount is a library call.
    static constexpr std::array<uint8_t, 256> BitsInByte = [] {
        std::array<uint8_t, 256> counts{};
        for (uint32_t i = 1; i < 256; ++i)
            counts[i] = static_cast<uint8_t>((i & 1) + counts[i >> 1]);
        return counts;
    }();
    static uint32_t countBits(uint32_t bits) { return BitsInByte[bits & 0xFF] + BitsInByte[bits >> 8]; }

    const Row* m_rows;
    const Block* m_blocks;
    const uint16_t* m_values;
};

} // namespace KILN
