#include "kiln/base/Flow.h"

namespace KILN {

bool Flow::close()
{
    if (!m_open)
        return false;
    m_open = false;
    return true;
}

bool Flow::reset()
{
    if (!m_open)
        return false;
    m_fresh = true;
    return true;
}

} // namespace KILN
