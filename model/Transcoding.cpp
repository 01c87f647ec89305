#include "model/Transcoding.h"

#include "kiln/base/Utf.h"
#include "kiln/base/Utf8BlockEncoding.h"

#include <memory>
#include <vector>

namespace utf = KILN::utf;

void utf16ToUtf8(const unsigned short* units, uint32_t length, KILN::TString<char>& utf8)
{
    const std::unique_ptr<uint8_t[]> bytes(new uint8_t[static_cast<size_t>(length) * 3 + 3]);
    uint32_t used = 0;
    uint32_t count = KILN::encodeUtf8Block(units, length, bytes.get(), used);
    // A high surrogate that ends the text has no low half to come.
    if (used < length)
        count += static_cast<uint32_t>(utf::encodeUtf8(utf::Replacement, bytes.get() + count));
    utf8.clear();
    utf8.append(reinterpret_cast<const char*>(bytes.get()), count);
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
