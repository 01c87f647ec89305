#include "kiln/base/UInt16SwapEndianIFilter.h"

#include "kiln/base/ByteSwap.h"
#include "kiln/base/Exception.h"

namespace KILN {

namespace {
constexpr const char* Module = "kiln/base/UInt16SwapEndianIFilter";
}

uint16_t UInt16SwapEndianIFilter::read16()
{
    if (!m_source)
        throw IOException(Module, __LINE__, IOException::NoSource);
    m_fresh = false;
    return swapBytes(m_source->read16());
}

// The source's block, swapped in place; units that arrived before a failure too.
void UInt16SwapEndianIFilter::readBlock16(uint32_t count, uint16_t* dest, uint32_t& got)
{
    got = 0;
    if (!m_source)
        throw IOException(Module, __LINE__, IOException::NoSource);
    if (count)
        m_fresh = false;
    readSwapped(dest, got, [&] { m_source->readBlock16(count, dest, got); });
}

} // namespace KILN
