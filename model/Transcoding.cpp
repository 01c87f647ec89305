#include "model/Transcoding.h"

#include "kiln/base/Utf.h"

#include <vector>

namespace utf = KILN::utf;

void utf16ToUtf8(const unsigned short* units, uint32_t length, KILN::TString<char>& utf8)
{
    std::vector<char> bytes;
    bytes.reserve(static_cast<size_t>(length) * 3);
    for (uint32_t i = 0; i < length; ++i) {
        uint32_t c = units[i];
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
            continue;
        }
        if (utf::isHighSurrogate(c) && i + 1 < length && utf::isLowSurrogate(units[i + 1]))
            c = utf::joinSurrogates(c, units[++i]);
        else if (utf::isSurrogate(c))
            c = utf::Replacement;
        uint8_t sequence[4];
        const int count = utf::encodeUtf8(c, sequence);
        bytes.insert(bytes.end(), sequence, sequence + count);
    }
    utf8.clear();
    utf8.append(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void utf8ToUtf16(const char* bytes, uint32_t length, KILN::TString<unsigned short>& units)
{
    std::vector<unsigned short> decoded;
    decoded.reserve(length);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes);
    for (uint32_t i = 0; i < length;) {
        if (data[i] < 0x80) {
            decoded.push_back(data[i++]);
            continue;
        }
        size_t used;
        const uint32_t c = utf::decodeUtf8(data + i, length - i, used);
        i += static_cast<uint32_t>(used);
        if (c < 0x10000) {
            decoded.push_back(static_cast<unsigned short>(c));
        } else {
            decoded.push_back(utf::highSurrogateOf(c));
            decoded.push_back(utf::lowSurrogateOf(c));
        }
    }
    units.clear();
    units.append(decoded.data(), static_cast<uint32_t>(decoded.size()));
}
