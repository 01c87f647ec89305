#include "model/PrintableText.h"

#include "kiln/base/Utf.h"

#include <cstdint>

namespace {

void appendEscaped(std::string& out, const uint8_t* bytes, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    for (size_t i = 0; i < count; ++i) {
        out += "\\x";
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0xF];
    }
}

bool isControl(uint32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

} // namespace

std::string printableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t i = 0, used = 0; i < text.size(); i += used) {
        const uint32_t c = KILN::utf::decodeUtf8(bytes + i, text.size() - i, used);
        // A malformed sequence answers U+FFFD with a length of one byte; a
        // U+FFFD written in the text takes three.
        const bool malformed = c == KILN::utf::Replacement && used == 1;
        if (malformed || isControl(c))
            appendEscaped(out, bytes + i, used);
        else
            out.append(text.data() + i, used);
    }
    return out;
}
