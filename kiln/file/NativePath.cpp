#include "kiln/file/NativePath.h"

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
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c > 0xDBFF || i + 1 == length || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return true;
}

std::FILE* openNativePath(const TStringPtr<unsigned short>& path, const char* mode)
{
    std::string native;
    return toNativePath(path, native) ? std::fopen(native.c_str(), mode) : nullptr;
}

} // namespace KILN
