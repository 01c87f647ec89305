#include "kiln/base/UInt32SwapEndianIFilter.h"

#include "kiln/base/Exception.h"

namespace KILN {

uint32_t UInt32SwapEndianIFilter::read32()
{
    if (!m_source)
        throw IOException("kiln/base/UInt32SwapEndianIFilter", __LINE__, IOException::NoSource);
    m_fresh = false;
    return __builtin_bswap32(m_source->read32());
}

} // namespace KILN
