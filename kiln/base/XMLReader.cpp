#include "kiln/base/XMLReader.h"

#include "kiln/base/CompositIFilter.h"
#include "kiln/base/Conveyer.h"
#include "kiln/base/DefaultWriters.h"
#include "kiln/base/EncodingRegistry.h"
#include "kiln/base/FixedMemIFlow.h"
#include "kiln/base/Exception.h"
#include "kiln/base/StringOFlow.h"
#include "kiln/base/Utf16String.h"
#include "kiln/base/Utf8String.h"
#include "kiln/base/XMLParseError.h"
#include "kiln/base/XMLParserSrcUnit.h"
#include "kiln/base/XmlDetector.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

namespace KILN {

namespace {

// Reads the whole file into a runtime-allocator buffer; false on any failure.
bool readWholeFile(FILE* file, uint8_t*& bytes, uint32_t& length)
{
    bytes = nullptr;
    length = 0;
    uint32_t capacity = 0;
    for (;;) {
        if (length == capacity) {
            if (capacity > UINT32_MAX / 2) {
                std::free(bytes);
                return false;
            }
            capacity = capacity ? capacity * 2 : 65536;
            void* grown = std::realloc(bytes, capacity);
            if (!grown) {
                std::free(bytes);
                return false;
            }
            bytes = static_cast<uint8_t*>(grown);
        }
        const size_t got = std::fread(bytes + length, 1, capacity - length, file);
        length += static_cast<uint32_t>(got);
        if (got == 0)
            break;
    }
    if (std::ferror(file)) {
        std::free(bytes);
        return false;
    }
    return true;
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
    uint8_t* bytes = nullptr;
    uint32_t length = 0;
    const bool read = readWholeFile(file, bytes, length);
    std::fclose(file);
    if (!read)
        return nullptr;
    const std::unique_ptr<uint8_t, decltype(&std::free)> owned(bytes, &std::free);
    return decode(bytes, length);
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
    // The bytes go through a memory flow, which answers reads of every
    // width, so that converters from 16- and 32-bit encodings can read it.
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(encoding, EncodingRegistry::Utf16N));
    if (!chain)
        return nullptr;
    FixedMemIFlow input(bytes, length);
    chain->attach(&input);
    Utf16String text;
    StringOFlow<unsigned short> output(&text);
    try {
        convey(chain.get(), &output);
    } catch (const IOException&) {
        return nullptr;
    }
    return new XMLParserSrcUnit("unknown", std::move(text));
}

} // namespace KILN
