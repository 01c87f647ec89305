#include "kiln/base/UInt16SwapEndianIFilter.h"

#include "kiln/base/Exception.h"

namespace KILN {

uint16_t UInt16SwapEndianIFilter::read16()
{
    if (!m_source)
        throw IOException("kiln/base/UInt16SwapEndianIFilter", __LINE__, IOException::NoSource);
    m_fresh = false;
    return __builtin_bswap16(m_source->read16());
}

} // namespace KILN
