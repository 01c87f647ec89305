#include "kiln/base/FromIso2022JpToSjis.h"

#include "kiln/base/JisCode.h"

namespace KILN {

char FromIso2022JpToSjis::writeJis0208(uint32_t jis)
{
    const uint16_t sjis = JisCode::toSjis(jis);
    return answer(static_cast<char>(sjis >> 8), static_cast<char>(sjis));
}

} // namespace KILN
