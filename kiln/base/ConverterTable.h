#pragma once

#include <cstdint>

namespace KILN {

class IFilter;

// One converter of the converter graph: it turns text of encoding `from` into
// encoding `to`; `lossy` is -1 when some input cannot be represented.
struct ConverterTableEntry {
    static constexpr int32_t Count = 114;

    int32_t from;
    int32_t to;
    int32_t lossy;
    IFilter* (*create)();
};

// Every converter, indexed from 0; chains refer to converters by this index.
extern const ConverterTableEntry converterTable[ConverterTableEntry::Count];

} // namespace KILN
