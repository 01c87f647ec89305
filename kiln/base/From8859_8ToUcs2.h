#pragma once

#include "kiln/base/From8859ToUcs2.h"
#include "kiln/base/generated/EncodingTables.h"

namespace KILN {

// Converter: ISO 8859-8 to UCS-2.
class From8859_8ToUcs2 final : public From8859ToUcs2 {
public:
    From8859_8ToUcs2() : From8859ToUcs2(tables::iso8859_8ToUcs2) {}
};

} // namespace KILN
