#include "engine/CodePoints.h"

#include "kiln/base/Utf.h"

using KILN::TString;

bool decodeUtf8(std::string_view utf8, TString<unsigned int>& text)
{
    text.clear();
    const auto* p = reinterpret_cast<const uint8_t*>(utf8.data());
    const uint8_t* const end = p + utf8.size();
    while (p < end) {
        size_t used = 0;
        const uint32_t c = KILN::utf::decodeUtf8(p, static_cast<size_t>(end - p), used);
        // The strict step answers U+FFFD for one bad byte; a well-formed
        // U+FFFD in the text takes three.
        if (c == KILN::utf::Replacement && used == 1)
            return false;
        text.append(c);
        p += used;
    }
    return true;
}

void appendUtf8(const TString<unsigned int>& text, TString<char>& output)
{
    uint8_t bytes[4];
    const uint32_t length = text.length();
    for (uint32_t i = 0; i < length; ++i) {
        const int count = KILN::utf::encodeUtf8(text[i], bytes);
        output.append(reinterpret_cast<const char*>(bytes), static_cast<uint32_t>(count));
    }
}
