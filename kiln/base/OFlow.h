#pragma once

#include "kiln/base/Flow.h"
#include "kiln/base/TStringPtr.h"

namespace KILN {

// An output flow: writes units of 8, 16 or 32 bits. A write of a width the
// flow does not carry raises IOException code 5, a write on a closed flow
// code 3.
class OFlow : public Flow {
public:
    virtual void flush() {}

    virtual void write8(uint8_t unit) = 0;
    virtual void write16(uint16_t unit) = 0;
    virtual void write32(uint32_t unit) = 0;

    // Writes count units from src; written counts the units taken, also when
    // an exception cuts the block short.
    virtual void writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written);
    virtual void writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written);
    virtual void writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written);

    // Write a zero-terminated array or a string's text; true when every unit
    // was written.
    virtual bool writeZ32(const uint32_t* units);
    virtual bool writeZ8(const char* units);
    virtual bool writeString8(const TStringPtr<char>& text);

    // The write of the width of T.
    template <class T>
    void writeUnit(T unit);
    template <class T>
    void writeBlock(uint32_t count, const T* src, uint32_t& written);

protected:
    OFlow(uint32_t widths, bool open) : Flow(widths, open) {}
};

template <class T>
void OFlow::writeUnit(T unit)
{
    if constexpr (sizeof(T) == 1)
        write8(static_cast<uint8_t>(unit));
    else if constexpr (sizeof(T) == 2)
        write16(static_cast<uint16_t>(unit));
    else
        write32(static_cast<uint32_t>(unit));
}

template <class T>
void OFlow::writeBlock(uint32_t count, const T* src, uint32_t& written)
{
    if constexpr (sizeof(T) == 1)
        writeBlock8(count, reinterpret_cast<const uint8_t*>(src), written);
    else if constexpr (sizeof(T) == 2)
        writeBlock16(count, reinterpret_cast<const uint16_t*>(src), written);
    else
        writeBlock32(count, reinterpret_cast<const uint32_t*>(src), written);
}

} // namespace KILN
