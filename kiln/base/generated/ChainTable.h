#pragma once

#include <cstdint>

namespace KILN::tables {

// Records of the chain table: 39 x 38 pairs and the end record.
constexpr int32_t ChainRecords = 39 * 38 + 1;
// {from, to, lossy} and 8 converter-table indexes padded with -1.
constexpr int32_t ChainFields = 11;
constexpr int32_t ChainSteps = 8;

extern const int32_t chainTable[ChainRecords][ChainFields];

} // namespace KILN::tables
