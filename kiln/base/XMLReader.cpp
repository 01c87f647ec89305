#include "kiln/base/XMLReader.h"

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/DefaultWriters.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/Exception.h"
#include "kiln/base/FixedMemIFlow.h"
#include "kiln/base/Utf16String.h"
#include "kiln/base/Utf8BlockDecoding.h"
#include "kiln/base/Utf8String.h"
#include "kiln/base/XMLCharCheck.h"
#include "kiln/base/XMLParseError.h"
#include "kiln/base/XMLParserSrcUnit.h"
#include "kiln/base/XmlDetector.h"
#include "kiln/base/generated/EncodingTables.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace KILN {

namespace {

// Bytes from the runtime allocator.
struct FreeBytes {
    void operator()(uint8_t* bytes) const { std::free(bytes); }
};
using Bytes = std::unique_ptr<uint8_t[], FreeBytes>;

// The most bytes, and decoded units, a document may have: its counts must
// fit the parser's 32 bits.
constexpr uint32_t MaxLength = UINT32_MAX - 1;

// Reallocates the bytes to capacity (at least one); false, with the bytes
// unchanged, when memory is short.
bool resize(Bytes& bytes, uint32_t& capacity, uint32_t count)
{
    auto* resized = static_cast<uint8_t*>(std::realloc(bytes.get(), count ? count : 1));
    if (!resized)
        return false;
    (void)bytes.release();
    bytes.reset(resized);
    capacity = count;
    return true;
}

bool resize(MappedUnits& units, uint32_t& capacity, uint32_t count)
{
    if (!units.resize(count))
        return false;
    capacity = count;
    return true;
}

// Grows a full buffer by half again (within MaxLength), so that reading an
// input of unforeseen size stays linear; false when it cannot grow.
template <class Buffer>
bool grow(Buffer& buffer, uint32_t& capacity)
{
    if (capacity >= MaxLength)
        return false;
    const uint32_t step = capacity / 2 + 4096;
    return resize(buffer, capacity, step < MaxLength - capacity ? capacity + step : MaxLength);
}

// The capacity to read a file in one go: the size it reports plus one byte,
// to see its end in the same read; 0 when it reports none (a pipe). False
// when it is too large to be parsed.
bool readCapacity(FILE* file, uint32_t& capacity)
{
    capacity = 0;
    if (std::fseek(file, 0, SEEK_END) != 0)
        return true;
    const long size = std::ftell(file);
    std::rewind(file);
    if (size >= 0)
        capacity = static_cast<unsigned long>(size) < MaxLength ? static_cast<uint32_t>(size) + 1 : 0;
    return size < 0 || capacity != 0;
}

// Reads the whole file, in one read when it reports its size; false on any
// failure.
bool readWholeFile(FILE* file, Bytes& bytes, uint32_t& length)
{
    length = 0;
    uint32_t capacity = 0;
    if (!readCapacity(file, capacity) || !resize(bytes, capacity, capacity))
        return false;
    for (;;) {
        if (length == capacity && !grow(bytes, capacity))
            return false;
        const size_t got = std::fread(bytes.get() + length, 1, capacity - length, file);
        length += static_cast<uint32_t>(got);
        if (got == 0)
            return !std::ferror(file);
    }
}

// Decodes UTF-8 in one loop; a byte-order mark is dropped when the encoding
// is the one that may carry it (as the chain's converter does). Malformed
// UTF-8 is a fatal error in XML: raises XMLParseError 174 at its first byte.
XMLParserSrcUnit* decodeUtf8(const uint8_t* bytes, uint32_t length, bool dropMark)
{
    const uint8_t* const file = bytes;
    if (dropMark && length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        length -= 3;
    }
    MappedUnits units;
    uint32_t capacity = 0;
    if (!resize(units, capacity, length))
        return nullptr;
    uint32_t malformed = 0;
    const uint32_t count = decodeUtf8Block(bytes, length, units.data(), &malformed);
    if (malformed < length)
        throwAtByte(XMLParseError::INVALID_UTF8, file, static_cast<uint32_t>(bytes - file) + malformed);
    // Japanese text takes fewer units than bytes: give the rest back.
    resize(units, capacity, count);
    return new XMLParserSrcUnit("unknown", std::move(units), count);
}

// Decodes a document declared Shift_JIS as readers of that label do: a code
// the Shift_JIS table lacks goes through the code page 932 table (most such
// files are written in code page 932: ①, 髙, 﨑), one both lack raises
// XMLParseError 176 at its first byte. Codes Shift_JIS maps keep its mapping.
XMLParserSrcUnit* decodeShiftJis(const uint8_t* bytes, uint32_t length)
{
    MappedUnits units;
    uint32_t capacity = 0;
    if (!resize(units, capacity, length))
        return nullptr;
    uint16_t* out = units.data();
    for (uint32_t i = 0; i < length;) {
        const uint32_t at = i;
        uint32_t code = bytes[i++];
        if (code < 0x20 || code == 0x7F) {
            *out++ = static_cast<uint16_t>(code);
            continue;
        }
        // Code page 932 leads with every high byte outside the katakana.
        if (code >= 0x80 && !(code >= 0xA1 && code <= 0xDF)) {
            if (i == length || bytes[i] < 0x40)
                throwAtByte(XMLParseError::UNMAPPED_SHIFT_JIS, bytes, at);
            code = code << 8 | bytes[i++];
        }
        uint16_t unit = tables::sjisToUcs2.lookup(code);
        if (unit == SparseCodeTable::Absent)
            unit = tables::cp932ToUcs2.lookup(code);
        if (unit == SparseCodeTable::Absent)
            throwAtByte(XMLParseError::UNMAPPED_SHIFT_JIS, bytes, at);
        *out++ = unit;
    }
    const uint32_t count = static_cast<uint32_t>(out - units.data());
    resize(units, capacity, count);
    return new XMLParserSrcUnit("unknown", std::move(units), count);
}

// Decodes through the chain's block reads, straight into one buffer sized
// from the byte count (no encoding gives more units than bytes; the buffer
// grows should one do). Null when the chain fails.
XMLParserSrcUnit* decodeThrough(IFlow& chain, uint32_t length)
{
    MappedUnits units;
    uint32_t capacity = 0;
    if (!resize(units, capacity, length))
        return nullptr;
    uint32_t count = 0;
    for (;;) {
        if (count == capacity && !grow(units, capacity))
            return nullptr;
        const uint32_t wanted = capacity - count;
        uint32_t got = 0;
        try {
            chain.readSome16(wanted, units.data() + count, got);
        } catch (const IOException&) {
            return nullptr;
        }
        count += got;
        if (got < wanted)
            break;
    }
    resize(units, capacity, count);
    return new XMLParserSrcUnit("unknown", std::move(units), count);
}

} // namespace

XMLReader::XMLReader(TextWriter<unsigned short>* messages)
    : m_messages(messages ? messages : DefaultWriters::writer<unsigned short>())
{
}

XMLParserSrcUnit* XMLReader::openFile(const unsigned short* path)
{
    Utf8String nativePath{Utf16String(path)};
    FILE* file = std::fopen(nativePath.zeroTerminated(), "rb");
    if (!file)
        return nullptr;
    Bytes bytes;
    uint32_t length = 0;
    const bool read = readWholeFile(file, bytes, length);
    std::fclose(file);
    return read ? decode(bytes.get(), length) : nullptr;
}

XMLParserSrcUnit* XMLReader::decode(const uint8_t* bytes, uint32_t length)
{
    XmlDetector detector;
    FixedMemIFlow flow(bytes, length);
    const int32_t encoding = detector.detect(flow);
    if (encoding == 0)
        return nullptr;
    // The detector falls back to UTF-8 for a declared name that it does not
    // know; decoding that way would turn the text into garbage. (A signature
    // or byte-order mark decides before any declaration is read.)
    const TString<char>& declared = detector.encodingName();
    if (!declared.isEmpty()) {
        TString<char> name(declared);
        if (EncodingRegistry::idOf(name.zeroTerminated()) == 0)
            throw XMLParseError(XMLParseError::UNKNOWN_ENCODING, declared);
    }
    if (encoding == EncodingRegistry::Utf8 || encoding == EncodingRegistry::Utf8N)
        return decodeUtf8(bytes, length, encoding == EncodingRegistry::Utf8);
    if (encoding == EncodingRegistry::ShiftJis)
        return decodeShiftJis(bytes, length);
    // The bytes go through a memory flow, which answers reads of every
    // width, so that converters from 16- and 32-bit encodings can read it.
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(encoding, EncodingRegistry::Utf16N));
    if (!chain)
        return nullptr;
    FixedMemIFlow input(bytes, length);
    chain->attach(&input);
    return decodeThrough(*chain, length);
}

} // namespace KILN
