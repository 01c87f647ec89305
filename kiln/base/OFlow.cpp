#include "kiln/base/OFlow.h"

#include "kiln/base/TString.h"

namespace KILN {

namespace {

template <class T>
void writeUnits(OFlow& flow, uint32_t count, const T* src, uint32_t& written)
{
    written = 0;
    while (written < count) {
        flow.writeUnit(src[written]);
        ++written;
    }
}

template <class T>
bool writeAll(OFlow& flow, const T* units, uint32_t count)
{
    uint32_t written = 0;
    flow.writeBlock(count, units, written);
    return written == count;
}

template <class T>
bool writeAll(OFlow& flow, const T* zeroTerminated)
{
    return writeAll(flow, zeroTerminated, TString<T>::zeroTerminatedLength(zeroTerminated));
}

} // namespace

void OFlow::writeBlock8(uint32_t count, const uint8_t* src, uint32_t& written) { writeUnits(*this, count, src, written); }
void OFlow::writeBlock16(uint32_t count, const uint16_t* src, uint32_t& written) { writeUnits(*this, count, src, written); }
void OFlow::writeBlock32(uint32_t count, const uint32_t* src, uint32_t& written) { writeUnits(*this, count, src, written); }

bool OFlow::writeZ32(const uint32_t* units) { return writeAll(*this, units); }
bool OFlow::writeZ8(const char* units) { return writeAll(*this, units); }

bool OFlow::writeString8(const TStringPtr<char>& text) { return writeAll(*this, text.data(), text.length()); }

} // namespace KILN
