#include "kiln/base/UInt32SwapEndianIFilter.h"

#include "kiln/base/ByteSwap.h"
#include "kiln/base/Exception.h"

namespace KILN {

namespace {
constexpr const char* Module = "kiln/base/UInt32SwapEndianIFilter";
}

uint32_t UInt32SwapEndianIFilter::read32()
{
    if (!m_source)
        throw IOException(Module, __LINE__, IOException::NoSource);
    m_fresh = false;
    return swapBytes(m_source->read32());
}

// The source's block, swapped in place; units that arrived before a failure too.
void UInt32SwapEndianIFilter::readBlock32(uint32_t count, uint32_t* dest, uint32_t& got)
{
    got = 0;
    if (!m_source)
        throw IOException(Module, __LINE__, IOException::NoSource);
    if (count)
        m_fresh = false;
    readSwapped(dest, got, [&] { m_source->readBlock32(count, dest, got); });
}

} // namespace KILN
