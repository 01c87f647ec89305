#include "kiln/file/NativePath.h"

#include "kiln/base/Utf.h"

namespace KILN {

bool toNativePath(const TStringPtr<unsigned short>& path, std::string& out)
{
    out.clear();
    const unsigned short* units = path.data();
    const uint32_t length = path.length();
    for (uint32_t i = 0; i < length; ++i) {
        uint32_t c = units[i];
        if (c == 0)
            return false;
        if (utf::isSurrogate(c)) {
            if (!utf::isHighSurrogate(c) || i + 1 == length || !utf::isLowSurrogate(units[i + 1]))
                return false;
            c = utf::joinSurrogates(c, units[++i]);
        }
        uint8_t bytes[4];
        out.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(utf::encodeUtf8(c, bytes)));
    }
    return true;
}

std::FILE* openNativePath(const TStringPtr<unsigned short>& path, const char* mode)
{
    std::string native;
    return toNativePath(path, native) ? std::fopen(native.c_str(), mode) : nullptr;
}

} // namespace KILN
