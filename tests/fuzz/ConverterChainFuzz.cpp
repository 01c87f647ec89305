// libFuzzer target of the converter chains: random bytes through the chain
// between a random pair of encodings end in output or an IOException, never
// in a crash, a hang or undefined behaviour. Between Unicode forms, text read
// into UTF-16 and written back survives a second round unchanged: the forms
// lose nothing on the way (characters above U+FFFF included). Read in blocks
// of sizes drawn from the input (1 to 3 and around 4096 units), the chain
// answers what it answers unit by unit.
//
// Input layout: the first two bytes select the source and target encodings
// (1 to 39); the rest is the text, cut to whole units of the source.

#include "kiln/base/Exception.h"

#include "tests/kiln/base/EncodingTestSupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace KILN;

namespace {

constexpr int32_t Encodings = 39;

// Bytes per unit of each encoding 1 to 39.
uint32_t unitBytes(int32_t id)
{
    static const uint8_t bytes[Encodings + 1] = {0, 1, 2, 2, 4, 4, 1, 1, 1, 1, 2, 2, 4, 4, 2, 2, 2, 2, 4, 4, 4,
                                                 4, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    return bytes[id];
}

// The Unicode forms but UCS-2, which cannot carry every character.
bool keepsEveryCharacter(int32_t id)
{
    return id >= 4 && id <= 20;
}

std::string convert(int32_t from, int32_t to, const std::string& bytes)
{
    return test::ChainRunner(from, to).run(bytes);
}

// The chain's output bytes, read unit by unit (seed 0) or in blocks of sizes
// drawn from seed, up to the end of input.
template <class U>
std::string drain(IFlow& chain, uint32_t seed)
{
    static const uint32_t sizes[] = {1, 2, 3, 4095, 4096, 4097};
    std::vector<U> block(4097);
    std::string out;
    for (;;) {
        uint32_t got = 0;
        const uint32_t size = seed ? sizes[((seed = seed * 1103515245 + 12345) >> 16) % 6] : 0;
        bool ended = false;
        try {
            if (size) {
                chain.readBlock(size, block.data(), got);
            } else {
                block[0] = chain.readUnit<U>();
                got = 1;
            }
        } catch (const IOException& e) {
            if (e.code() != IOException::EndOfInput)
                throw;
            ended = true;
        }
        out.append(reinterpret_cast<const char*>(block.data()), got * sizeof(U));
        if (ended)
            return out;
    }
}

std::string drain(int32_t from, int32_t to, const std::string& bytes, uint32_t seed)
{
    const std::unique_ptr<CompositIFilter> chain(EncodingRegistry::chain(from, to));
    if (!chain)
        return {};
    FixedMemIFlow input(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
    chain->attach(&input);
    chain->reset();
    const uint32_t widths = chain->widths();
    if (widths & Flow::Width8)
        return drain<uint8_t>(*chain, seed);
    if (widths & Flow::Width16)
        return drain<uint16_t>(*chain, seed);
    return drain<uint32_t>(*chain, seed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool started = EncodingRegistry::lifeCycle(true);
    (void)started;
    if (size < 2)
        return 0;
    const int32_t from = 1 + data[0] % Encodings;
    const int32_t to = 1 + data[1] % Encodings;
    std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    text.resize(text.size() - text.size() % unitBytes(from));
    try {
        convert(from, to, text);
        uint32_t seed = 0;
        std::memcpy(&seed, data, size < 4 ? size : 4);
        if (drain(from, to, text, 0) != drain(from, to, text, seed | 1))
            std::abort();
        if (keepsEveryCharacter(from) && from != EncodingRegistry::Utf16N) {
            const std::string once = convert(from, EncodingRegistry::Utf16N, text);
            const std::string twice = convert(from, EncodingRegistry::Utf16N,
                                              convert(EncodingRegistry::Utf16N, from, once));
            if (once != twice)
                std::abort();
        }
    } catch (const IOException&) {
    }
    return 0;
}
