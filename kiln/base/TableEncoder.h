#pragma once

#include "kiln/base/Converter.h"
#include "kiln/base/SparseCodeTable.h"

namespace KILN {

// Base of the converters from UCS-2 to a single- or double-byte encoding
// through a reverse mapping table: units below 20 and 7F are answered as they
// are, units without a mapping are skipped, and a code above FF is answered
// as its lead byte followed by its trail byte.
class TableEncoder : public Converter<TableEncoder, char, uint16_t> {
protected:
    explicit TableEncoder(const SparseCodeTable& table) : m_table(table) {}

private:
    friend Converter;

    char convert();
    // The same for a run of units, a two-byte code written whole.
    void convertRun(const uint16_t*& next, const uint16_t* end, char*& dest, char* destEnd);

    const SparseCodeTable& m_table;
};

// Instantiated with convert() in sight, so that its block reads inline it.
extern template class Converter<TableEncoder, char, uint16_t>;

} // namespace KILN
