#pragma once

#include "kiln/base/Object.h"

namespace KILN {

// Root of the elements that carry their own list links (intrusive lists).
class InnerListNode : public Object {};

} // namespace KILN
