#include "engine/RunPieces.h"

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

bool startsWith(const unsigned char* at, const unsigned char* end, const char* bytes, uint32_t count)
{
    if (end - at < static_cast<long>(count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        if (at[i] != static_cast<unsigned char>(bytes[i]))
            return false;
    }
    return true;
}

// 。, ！ and ？ in UTF-8.
bool isSentenceEnd(const unsigned char* at, const unsigned char* end)
{
    return startsWith(at, end, "\xE3\x80\x82", 3) || startsWith(at, end, "\xEF\xBC\x81", 3)
        || startsWith(at, end, "\xEF\xBC\x9F", 3);
}

// A character that belongs to the one before it: the combining voiced sound
// marks U+3099, U+309A and the variation selectors U+FE00-FE0F and
// U+E0100-E01EF.
bool isAttached(const unsigned char* at, const unsigned char* end)
{
    if (end - at >= 3 && at[0] == 0xE3 && at[1] == 0x82 && (at[2] == 0x99 || at[2] == 0x9A))
        return true;
    if (end - at >= 3 && at[0] == 0xEF && at[1] == 0xB8 && at[2] >= 0x80 && at[2] <= 0x8F)
        return true;
    return end - at >= 4 && at[0] == 0xF3 && at[1] == 0xA0 && (at[2] >= 0x84 && at[2] <= 0x87);
}

} // namespace

uint32_t nextPieceEnd(const char* text, uint32_t begin, uint32_t end)
{
    if (end - begin <= MaxPieceBytes)
        return end;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const uint32_t room = begin + MaxPieceBytes;
    for (uint32_t at = room; at > begin + MaxPieceBytes / 2; --at) {
        if (isSentenceEnd(bytes + at, bytes + end))
            return at;
    }
    for (uint32_t at = room; at > begin; --at) {
        if (!isContinuation(bytes[at]) && !isAttached(bytes + at, bytes + end))
            return at;
    }
    // No boundary at all (stray continuation bytes): any cut loses nothing.
    return room;
}
