#include "kiln/base/FromUtf8NToUcs2.h"

#include "kiln/base/Utf8Decoding.h"

namespace KILN {

unsigned short FromUtf8NToUcs2::convert()
{
    for (;;) {
        const uint32_t value = decodeUtf8(input(), *m_source);
        if (value <= 0xFFFF)
            return static_cast<unsigned short>(value);
    }
}

} // namespace KILN
