#include "kiln/base/OFilter.h"

#include "kiln/base/Exception.h"

namespace KILN {

void OFilter::attach(OFlow* target)
{
    m_target = target;
    m_open = target != nullptr;
    m_fresh = true;
}

bool OFilter::close()
{
    if (!OFlow::close())
        return false;
    m_target = nullptr;
    return true;
}

bool OFilter::isReady() const
{
    return compatibility() != 0 && m_target->isReady();
}

OFlow& OFilter::checkedTarget()
{
    if (!m_target)
        throw IOException("kiln/base/OFilter", __LINE__, IOException::NoTarget);
    return *m_target;
}

template <class U>
void OFilter::passUnit(U unit)
{
    OFlow& target = checkedTarget();
    m_fresh = false;
    target.writeUnit(unit);
}

template void OFilter::passUnit<uint8_t>(uint8_t);
template void OFilter::passUnit<uint16_t>(uint16_t);
template void OFilter::passUnit<uint32_t>(uint32_t);

void OFilter::flush() { checkedTarget().flush(); }
void OFilter::write8(uint8_t unit) { passUnit(unit); }
void OFilter::write16(uint16_t unit) { passUnit(unit); }
void OFilter::write32(uint32_t unit) { passUnit(unit); }

} // namespace KILN
