#pragma once

#include "kiln/base/IFlow.h"

namespace KILN {

// An input flow over a caller's block of bytes that it does not own. It
// carries every width: 16- and 32-bit units are assembled from 2 or 4 bytes in
// little-endian order. A read that finds too few bytes left raises code 1 and
// consumes nothing.
class FixedMemIFlow : public IFlow {
public:
    // A null start gives a closed flow, a length of 0 an empty one.
    FixedMemIFlow(const uint8_t* start, uint32_t length);

    bool close() override;
    bool reset() override;

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;
    void readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) override;
    void readSome8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readSome16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readSome32(uint32_t count, uint32_t* dest, uint32_t& got) override;

    // Bytes not read yet.
    uint32_t remaining() const { return static_cast<uint32_t>(m_end - m_position); }

private:
    template <class U>
    U next();
    template <class U>
    void nextBlock(uint32_t count, U* dest, uint32_t& got, bool raiseAtEnd);

    const uint8_t* m_start;
    const uint8_t* m_end;
    const uint8_t* m_position;
};

} // namespace KILN
