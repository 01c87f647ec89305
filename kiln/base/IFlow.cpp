#include "kiln/base/IFlow.h"

#include "kiln/base/Exception.h"

namespace KILN {

namespace {

template <class T>
void readUnits(IFlow& flow, uint32_t count, T* dest, uint32_t& got)
{
    got = 0;
    while (got < count) {
        dest[got] = flow.readUnit<T>();
        ++got;
    }
}

// The block read of a flow that cannot tell its end otherwise: the end of
// input it raises is taken as the short block.
template <class T>
void readUnitsToEnd(IFlow& flow, uint32_t count, T* dest, uint32_t& got)
{
    try {
        flow.readBlock(count, dest, got);
    } catch (const IOException& e) {
        if (e.code() != IOException::EndOfInput)
            throw;
    }
}

template <class T>
bool readLineOfUnits(IFlow& flow, TString<T>& line, bool append)
{
    if (!append)
        line.clear();
    try {
        for (;;) {
            const T unit = flow.readUnit<T>();
            if (unit == 0)
                return false;
            line.append(unit);
            if (unit == 10)
                return false;
        }
    } catch (const IOException& e) {
        if (e.code() != IOException::EndOfInput)
            throw;
    }
    return true;
}

} // namespace

void IFlow::readBlock8(uint32_t count, uint8_t* dest, uint32_t& got) { readUnits(*this, count, dest, got); }
void IFlow::readBlock16(uint32_t count, uint16_t* dest, uint32_t& got) { readUnits(*this, count, dest, got); }
void IFlow::readBlock32(uint32_t count, uint32_t* dest, uint32_t& got) { readUnits(*this, count, dest, got); }

void IFlow::readSome8(uint32_t count, uint8_t* dest, uint32_t& got) { readUnitsToEnd(*this, count, dest, got); }
void IFlow::readSome16(uint32_t count, uint16_t* dest, uint32_t& got) { readUnitsToEnd(*this, count, dest, got); }
void IFlow::readSome32(uint32_t count, uint32_t* dest, uint32_t& got) { readUnitsToEnd(*this, count, dest, got); }

bool IFlow::readLine32(TString<unsigned int>& line, bool append) { return readLineOfUnits(*this, line, append); }
bool IFlow::readLine16(TString<unsigned short>& line, bool append) { return readLineOfUnits(*this, line, append); }
bool IFlow::readLine8(TString<char>& line, bool append) { return readLineOfUnits(*this, line, append); }

} // namespace KILN
