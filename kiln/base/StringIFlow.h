#pragma once

#include "kiln/base/IFlow.h"
#include "kiln/base/TStringPtr.h"

namespace KILN {

// An input flow over a range of units of type T that it does not own; it
// carries only the width of T. A failed read consumes nothing.
template <class T>
class StringIFlow : public IFlow {
public:
    // A closed flow.
    StringIFlow() : IFlow(widthOf<T>(), false) {}
    // A null units pointer gives an empty, closed flow.
    StringIFlow(const T* units, uint32_t length) : StringIFlow() { open(units, length); }
    explicit StringIFlow(const TStringPtr<T>& text) : StringIFlow(text.data(), text.length()) {}

    // Attaches a range (null: none) and rewinds to its start.
    void open(const T* units, uint32_t length);
    bool close() override;
    bool reset() override;
    bool isFresh() const override { return m_position == 0; }

    uint8_t read8() override;
    uint16_t read16() override;
    uint32_t read32() override;
    void readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) override;
    void readSome8(uint32_t count, uint8_t* dest, uint32_t& got) override;
    void readSome16(uint32_t count, uint16_t* dest, uint32_t& got) override;
    void readSome32(uint32_t count, uint32_t* dest, uint32_t& got) override;

    // Units not read yet.
    uint32_t remaining() const { return m_length - m_position; }

private:
    template <class U>
    U next();
    template <class U>
    void nextBlock(uint32_t count, U* dest, uint32_t& got, bool raiseAtEnd);

    const T* m_units = nullptr;
    uint32_t m_length = 0;
    uint32_t m_position = 0;
};

extern template class StringIFlow<char>;
extern template class StringIFlow<unsigned short>;
extern template class StringIFlow<unsigned int>;

} // namespace KILN
