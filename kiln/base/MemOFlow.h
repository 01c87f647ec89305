#pragma once

#include "kiln/base/OFlow.h"

namespace KILN {

// An output flow into a growing memory buffer. Every write grows the buffer to
// exactly the new length; 16- and 32-bit units are stored in little-endian
// order. A buffer lent by the caller is never freed or reallocated: when it
// is too small, the flow moves to a buffer of its own.
class MemOFlow : public OFlow {
public:
    static constexpr uint32_t InitialCapacity = 10;

    // An owned buffer of 10 bytes.
    MemOFlow();
    // Writes into the caller's buffer of capacity bytes, which stays the caller's.
    MemOFlow(uint8_t* lentBuffer, uint32_t capacity);
    MemOFlow(const MemOFlow&) = delete;
    MemOFlow& operator=(const MemOFlow&) = delete;
    ~MemOFlow() override;

    // Releases the buffer (an owned one is freed).
    bool close() override;
    // Rewinds to the start: the length becomes 0, the buffer stays.
    bool reset() override;

    void write8(uint8_t unit) override;
    void write16(uint16_t unit) override;
    void write32(uint32_t unit) override;
    void writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) override;
    void writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) override;
    void writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) override;

    // The bytes written (null once closed).
    const uint8_t* data() const { return m_buffer; }
    uint32_t length() const { return m_length; }
    uint32_t capacity() const { return m_capacity; }
    bool isLent() const { return m_lent; }

private:
    // Room for bytes more bytes at the end; answers where they go.
    uint8_t* reserve(uint32_t bytes);
    template <class U>
    void put(U unit);
    template <class U>
    void putBlock(uint32_t count, const U* src, uint32_t& written);

    uint8_t* m_buffer;
    uint32_t m_capacity;
    uint32_t m_length = 0;
    bool m_lent;
};

} // namespace KILN
