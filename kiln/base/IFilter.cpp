#include "kiln/base/IFilter.h"

#include "kiln/base/Exception.h"

namespace KILN {

void IFilter::attach(IFlow* source)
{
    m_source = source;
    m_open = source != nullptr;
    m_fresh = true;
}

bool IFilter::close()
{
    if (!IFlow::close())
        return false;
    m_source = nullptr;
    return true;
}

bool IFilter::reset()
{
    return IFlow::reset() && m_source->reset();
}

bool IFilter::isReady() const
{
    return compatibility() != 0 && m_source->isReady();
}

template <class U>
U IFilter::passUnit()
{
    if (!m_source)
        throw IOException("kiln/base/IFilter", __LINE__, IOException::NoSource);
    m_fresh = false;
    return m_source->readUnit<U>();
}

template uint8_t IFilter::passUnit<uint8_t>();
template uint16_t IFilter::passUnit<uint16_t>();
template uint32_t IFilter::passUnit<uint32_t>();

uint8_t IFilter::read8() { return passUnit<uint8_t>(); }
uint16_t IFilter::read16() { return passUnit<uint16_t>(); }
uint32_t IFilter::read32() { return passUnit<uint32_t>(); }

} // namespace KILN
