#include "kiln/base/SparseCodeTable.h"

#include <gtest/gtest.h>

using namespace KILN;

namespace {

// Codes 0041 -> 1, 004F -> 2, 0050 -> 3, 8140 -> 4, 81FF -> 5, in the form
// the generator writes: rows by high byte, blocks by 16 codes, values in
// code order.
SparseCodeTable::Row rows[256];
const SparseCodeTable::Block blocks[] = {
    {0x8002, 0}, // 0040-004F: 41, 4F
    {0x0001, 2}, // 0050-005F: 50
    {0x0001, 3}, // 8140-814F: 40
    {0x8000, 4}, // 81F0-81FF: FF
};
const uint16_t values[] = {1, 2, 3, 4, 5};

SparseCodeTable makeTable()
{
    rows[0x00] = {0x0030, 0}; // blocks 4 and 5
    rows[0x81] = {0x8010, 2}; // blocks 4 and 15
    return SparseCodeTable(rows, blocks, values);
}

} // namespace

TEST(SparseCodeTableTest, FindsValuesAcrossBlocksAndRows)
{
    const SparseCodeTable table = makeTable();
    EXPECT_EQ(table.lookup(0x0041), 1);
    EXPECT_EQ(table.lookup(0x004F), 2);
    EXPECT_EQ(table.lookup(0x0050), 3);
    EXPECT_EQ(table.lookup(0x8140), 4);
    EXPECT_EQ(table.lookup(0x81FF), 5);
}

TEST(SparseCodeTableTest, AbsentCodesAtEveryLevel)
{
    const SparseCodeTable table = makeTable();
    EXPECT_EQ(table.lookup(0x0040), SparseCodeTable::Absent); // code bit clear
    EXPECT_EQ(table.lookup(0x0051), SparseCodeTable::Absent);
    EXPECT_EQ(table.lookup(0x0060), SparseCodeTable::Absent); // block bit clear
    EXPECT_EQ(table.lookup(0x0141), SparseCodeTable::Absent); // empty row
    EXPECT_EQ(table.lookup(0x81FE), SparseCodeTable::Absent);
    EXPECT_EQ(table.lookup(0xFFFF), SparseCodeTable::Absent);
    EXPECT_EQ(table.lookup(0x10041), SparseCodeTable::Absent); // beyond 16 bits
}
