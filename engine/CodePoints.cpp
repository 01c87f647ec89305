#include "engine/CodePoints.h"

using KILN::TString;

bool decodeUtf8(std::string_view utf8, TString<unsigned int>& text)
{
    // The smallest value each sequence length may encode; less is over-long.
    static constexpr unsigned int least[] = {0, 0, 0x80, 0x800, 0x10000};
    text.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* const end = p + utf8.size();
    while (p < end) {
        const unsigned int lead = *p++;
        uint32_t more;
        unsigned int value;
        if (lead < 0x80) {
            more = 0;
            value = lead;
        } else if (lead >= 0xC0 && lead < 0xE0) {
            more = 1;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            more = 2;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF8) {
            more = 3;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (static_cast<size_t>(end - p) < more)
            return false;
        for (uint32_t i = 0; i < more; ++i, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (*p & 0x3F);
        }
        if (value < least[more + 1] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        text.append(value);
    }
    return true;
}

void appendUtf8(const TString<unsigned int>& text, TString<char>& output)
{
    char bytes[4];
    for (uint32_t i = 0; i < text.length(); ++i) {
        const unsigned int c = text[i];
        uint32_t count;
        if (c < 0x80) {
            bytes[0] = static_cast<char>(c);
            count = 1;
        } else if (c < 0x800) {
            bytes[0] = static_cast<char>(0xC0 | (c >> 6));
            bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
            count = 2;
        } else if (c < 0x10000) {
            bytes[0] = static_cast<char>(0xE0 | (c >> 12));
            bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
            count = 3;
        } else {
            bytes[0] = static_cast<char>(0xF0 | (c >> 18));
            bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
            count = 4;
        }
        output.append(bytes, count);
    }
}
