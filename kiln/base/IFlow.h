#pragma once

#include "kiln/base/Flow.h"
#include "kiln/base/TString.h"

namespace KILN {

// An input flow: reads units of 8, 16 or 32 bits. A read of a width the flow
// does not carry raises IOException code 5, a read past the end code 1, a read
// on a closed flow code 3.
class IFlow : public Flow {
public:
    virtual uint8_t read8() = 0;
    virtual uint16_t read16() = 0;
    virtual uint32_t read32() = 0;

    // Reads up to count units into dest; got counts the units stored, also
    // when an exception (code 1 at the end of input) cuts the block short.
    virtual void readBlock8(uint32_t count, uint8_t* dest, uint32_t& got);
    virtual void readBlock16(uint32_t count, uint16_t* dest, uint32_t& got);
    virtual void readBlock32(uint32_t count, uint32_t* dest, uint32_t& got);

    // Reads up to count units into dest as readBlock does, except that the end
    // of input cuts the block short without raising: got below count tells
    // that the input has ended (0: nothing was left). Other failures raise as
    // in readBlock, got counting the units stored. Read loops end this way
    // without an exception per input.
    virtual void readSome8(uint32_t count, uint8_t* dest, uint32_t& got);
    virtual void readSome16(uint32_t count, uint16_t* dest, uint32_t& got);
    virtual void readSome32(uint32_t count, uint32_t* dest, uint32_t& got);

    // Appends units to line (emptied first unless append) up to and including
    // a line feed; a zero unit ends the line without being stored. Answers true
    // when the end of input ended the line.
    virtual bool readLine32(TString<unsigned int>& line, bool append);
    virtual bool readLine16(TString<unsigned short>& line, bool append);
    virtual bool readLine8(TString<char>& line, bool append);

    // The read of the width of T.
    template <class T>
    T readUnit();
    template <class T>
    void readBlock(uint32_t count, T* dest, uint32_t& got);
    template <class T>
    void readSome(uint32_t count, T* dest, uint32_t& got);
    template <class T>
    bool readLine(TString<T>& line, bool append);

protected:
    IFlow(uint32_t widths, bool open) : Flow(widths, open) {}
};

template <class T>
T IFlow::readUnit()
{
    if constexpr (sizeof(T) == 1)
        return static_cast<T>(read8());
    else if constexpr (sizeof(T) == 2)
        return static_cast<T>(read16());
    else
        return static_cast<T>(read32());
}

template <class T>
void IFlow::readBlock(uint32_t count, T* dest, uint32_t& got)
{
    if constexpr (sizeof(T) == 1)
        readBlock8(count, reinterpret_cast<uint8_t*>(dest), got);
    else if constexpr (sizeof(T) == 2)
        readBlock16(count, reinterpret_cast<uint16_t*>(dest), got);
    else
        readBlock32(count, reinterpret_cast<uint32_t*>(dest), got);
}

template <class T>
void IFlow::readSome(uint32_t count, T* dest, uint32_t& got)
{
    if constexpr (sizeof(T) == 1)
        readSome8(count, reinterpret_cast<uint8_t*>(dest), got);
    else if constexpr (sizeof(T) == 2)
        readSome16(count, reinterpret_cast<uint16_t*>(dest), got);
    else
        readSome32(count, reinterpret_cast<uint32_t*>(dest), got);
}

template <class T>
bool IFlow::readLine(TString<T>& line, bool append)
{
    if constexpr (sizeof(T) == 1)
        return readLine8(line, append);
    else if constexpr (sizeof(T) == 2)
        return readLine16(line, append);
    else
        return readLine32(line, append);
}

} // namespace KILN
